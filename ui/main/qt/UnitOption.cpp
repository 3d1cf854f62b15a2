#include "UnitOption.h"

#include "OptionGroup.h"

#include <QButtonGroup>
#include <QKeyEvent>

namespace pevrand
{
namespace
{

// +1 for the keys that move to the next option, -1 for those that move back, 0 for others. The
// keypad's arrows count too.
int ArrowStep(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        return 1;
    case Qt::Key_Up:
    case Qt::Key_Left:
        return -1;
    default:
        return 0;
    }
}

// A widget that Tab may stop at, inside `window`.
bool TakesTab(const QWidget &widget, const QWidget &window)
{
    return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus && widget.isEnabled() &&
           widget.isVisibleTo(&window) && widget.window() == &window;
}

} // namespace

UnitOption::UnitOption(const QString &caption, QWidget *parent) : QRadioButton(caption, parent) {}

// The whole box is the option, as its designed size says.
bool UnitOption::hitButton(const QPoint &position) const
{
    return rect().contains(position);
}

void UnitOption::keyPressEvent(QKeyEvent *event)
{
    const int step = ArrowStep(*event);
    if (step == 0 || !group()) {
        QRadioButton::keyPressEvent(event);
        return;
    }
    // With Ctrl, Alt or Meta held an arrow is not the group's, and never Qt's move by position.
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        event->ignore();
        return;
    }
    // Qt would pick the neighbour by position, which options of unequal widths confuse.
    if (QAbstractButton *next = NeighbourOption(*group(), *this, step)) {
        // A keyboard move: the focus frame shows even when the mouse put the focus here.
        window()->setAttribute(Qt::WA_KeyboardFocusChange);
        next->setFocus(Qt::OtherFocusReason);
        next->click();
    }
    event->accept();
}

void UnitOption::focusInEvent(QFocusEvent *event)
{
    QRadioButton::focusInEvent(event);
    // Qt moves an exclusive group's Tab stop to whichever option takes the focus.
    if (group())
        PlaceTabStop(*group());
}

// From any option of the group, Tab goes to the first stop after the group and Shift+Tab to
// the last one before it, so a focused but unselected option never leads to its own group's
// stop.
bool UnitOption::focusNextPrevChild(bool next)
{
    QWidget *const me = this;
    const QWidget &top = *window();
    const QButtonGroup *own = group();
    for (QWidget *candidate = next ? me->nextInFocusChain() : me->previousInFocusChain();
         candidate && candidate != me;
         candidate = next ? candidate->nextInFocusChain() : candidate->previousInFocusChain()) {
        const auto *option = qobject_cast<QAbstractButton *>(candidate);
        if (own && option && option->group() == own)
            continue;
        if (TakesTab(*candidate, top)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QRadioButton::focusNextPrevChild(next);
}

} // namespace pevrand
