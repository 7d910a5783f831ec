#include "helper/framelessdrag.h"

#include <QMouseEvent>
#include <QWidget>

void FramelessDrag::press(QWidget *window, QMouseEvent *event)
{
    m_pressGlobal = event->globalPos();
    m_pressInWindow = m_pressGlobal - window->pos();
    // Only a plain left press starts a drag: a double-click or a press with
    // another button held must not move the window.
    if (event->buttons() == Qt::LeftButton && event->type() == QEvent::MouseButtonPress)
        m_dragging = true;
}

void FramelessDrag::move(QWidget *window, QMouseEvent *event)
{
    if (m_dragging)
        window->move(event->globalPos() - m_pressInWindow);
}

void FramelessDrag::release()
{
    m_dragging = false;
}
