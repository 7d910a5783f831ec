#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

// Moving a frameless window by hand: it has no title bar for the window
// manager to drag, so the window follows the mouse itself between a left-button
// press and its release. Every window and dialog of the program uses this.
class FramelessDrag
{
public:
    void press(QWidget *window, QMouseEvent *event);
    void move(QWidget *window, QMouseEvent *event);
    void release();

    bool dragging() const { return m_dragging; }

private:
    bool m_dragging = false;
    QPoint m_pressGlobal;
    // Where the window was grabbed, relative to its top-left corner.
    QPoint m_pressInWindow;
};
