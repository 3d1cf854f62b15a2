#include "OptionGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace pevrand
{
namespace
{

// Only the group's stop takes the focus by Tab; the others still take it by the mouse and,
// being auto-exclusive options, by the arrow keys.
void PlaceTabStop(const QButtonGroup &group)
{
    const QList<QAbstractButton *> buttons = group.buttons();
    if (buttons.isEmpty())
        return;
    const QAbstractButton *stop = group.checkedButton() ? group.checkedButton() : buttons.front();
    for (QAbstractButton *button : buttons)
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace

std::optional<Quantity> SelectedQuantity(const QButtonGroup &group)
{
    const int id = group.checkedId();
    if (id < 0)
        return std::nullopt;
    return static_cast<Quantity>(id);
}

void KeepOneTabStop(QButtonGroup &group)
{
    PlaceTabStop(group);
    QObject::connect(&group, &QButtonGroup::buttonToggled, &group,
                     [&group](QAbstractButton *, bool) { PlaceTabStop(group); });
}

} // namespace pevrand
