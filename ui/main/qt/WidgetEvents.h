// Signals for the mouse and key events of controls that have no such signals of their own.
#pragma once

#include <QObject>

class QWidget;

namespace pevrand
{

// Watches one widget and reports its clicks and key presses as signals, so that a window can
// connect reactions to a label or a frame and see a key before a text box handles it.
class WidgetEvents : public QObject
{
    Q_OBJECT

public:
    // Starts watching `widget`; the watcher is a child of `widget` and lives as long as it.
    static WidgetEvents *Watch(QWidget *widget);

signals:
    // The left button went down and came up again over the widget itself, not over one of
    // its child controls.
    void clicked();
    // A key was pressed in the widget. Emitted before the widget handles the key, which
    // still reaches it afterwards.
    void keyPressed(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WidgetEvents(QWidget *widget);

    QWidget *Widget;
    bool PressedHere = false;
};

} // namespace pevrand
