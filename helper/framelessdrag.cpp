#include "helper/framelessdrag.h"

#include <QMouseEvent>
#include <QWidget>

FramelessDrag *FramelessDrag::attach(QWidget *window)
{
    return new FramelessDrag(window);
}

FramelessDrag::FramelessDrag(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    window->installEventFilter(this);
}

bool FramelessDrag::eventFilter(QObject *watched, QEvent *event)
{
    // A disabled window takes no mouse events, so it is not dragged either;
    // the filter sees them before the window would have dropped them.
    if (watched != m_window || !m_window->isEnabled())
        return false;
    switch (event->type()) {
    // A double-click reaches a widget's press handler too; it only moves the
    // grab point, it starts no drag of its own.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        press(static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::MouseMove:
        move(static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return true;
    default:
        return false;
    }
}

void FramelessDrag::press(QMouseEvent *event)
{
    m_pressInWindow = event->globalPos() - m_window->pos();
    // Only a plain left press starts a drag: a double-click or a press with
    // another button held must not move the window.
    if (event->buttons() == Qt::LeftButton && event->type() == QEvent::MouseButtonPress)
        m_dragging = true;
}

void FramelessDrag::move(QMouseEvent *event)
{
    if (m_dragging)
        m_window->move(event->globalPos() - m_pressInWindow);
}
