#include "WidgetEvents.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace pevrand
{
namespace
{

// True when a mouse event at `position` lands on `widget` itself: inside it and not on a
// child control (a press that a child passed on to its parent is not a click on the parent).
bool OnWidgetItself(const QWidget &widget, QPointF position)
{
    const QPoint point = position.toPoint();
    return widget.rect().contains(point) && widget.childAt(point) == nullptr;
}

} // namespace

WidgetEvents::WidgetEvents(QWidget *widget) : QObject(widget), Widget(widget)
{
    widget->installEventFilter(this);
}

WidgetEvents *WidgetEvents::Watch(QWidget *widget)
{
    return new WidgetEvents(widget);
}

bool WidgetEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Widget)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            PressedHere = OnWidgetItself(*Widget, mouse->position());
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            const bool click = PressedHere && OnWidgetItself(*Widget, mouse->position());
            PressedHere = false;
            if (click)
                emit clicked();
        }
        break;
    }
    case QEvent::KeyPress:
        emit keyPressed(static_cast<QKeyEvent *>(event)->key());
        break;
    default:
        break;
    }
    return false;
}

} // namespace pevrand
