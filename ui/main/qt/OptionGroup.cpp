#include "OptionGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace pevrand
{

std::optional<Quantity> SelectedQuantity(const QButtonGroup &group)
{
    const int id = group.checkedId();
    if (id < 0)
        return std::nullopt;
    return static_cast<Quantity>(id);
}

void PlaceTabStop(const QButtonGroup &group)
{
    const QList<QAbstractButton *> buttons = group.buttons();
    if (buttons.isEmpty())
        return;
    const QAbstractButton *stop = group.checkedButton() ? group.checkedButton() : buttons.front();
    for (QAbstractButton *button : buttons) {
        const Qt::FocusPolicy policy = button == stop ? Qt::StrongFocus : Qt::ClickFocus;
        if (button->focusPolicy() != policy)
            button->setFocusPolicy(policy);
    }
}

void KeepOneTabStop(QButtonGroup &group)
{
    PlaceTabStop(group);
    QObject::connect(&group, &QButtonGroup::buttonToggled, &group,
                     [&group](QAbstractButton *, bool) { PlaceTabStop(group); });
}

QAbstractButton *NeighbourOption(const QButtonGroup &group, const QAbstractButton &from, int step)
{
    const QList<QAbstractButton *> buttons = group.buttons();
    const qsizetype count = buttons.size();
    qsizetype at = 0;
    while (at < count && buttons[at] != &from)
        ++at;
    if (at == count || step == 0)
        return nullptr;
    for (qsizetype tried = 1; tried < count; ++tried) {
        at = ((at + step) % count + count) % count;
        if (buttons[at]->isEnabled())
            return buttons[at];
    }
    return nullptr;
}

} // namespace pevrand
