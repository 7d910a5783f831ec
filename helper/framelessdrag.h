#pragma once

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

// Moving a frameless window by hand: it has no title bar for the window
// manager to drag, so the window follows the mouse itself between a
// left-button press and its release. Every window and dialog of the program
// attaches one of these to itself.
//
// The filter sees what reaches the window: presses on the window itself and
// on children that leave the event to it (backgrounds, labels). A button or
// any other child that takes the press keeps it, and the window stays put.
// The window's own mouse press, move and release handlers are not called.
class FramelessDrag : public QObject
{
    Q_OBJECT

public:
    // The filter belongs to the window and goes with it.
    static FramelessDrag *attach(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FramelessDrag(QWidget *window);

    void press(QMouseEvent *event);
    void move(QMouseEvent *event);

    QWidget *m_window;
    bool m_dragging = false;
    // Where the window was grabbed, relative to its top-left corner.
    QPoint m_pressInWindow;
};
