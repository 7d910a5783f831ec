#include "common/mouseinput.h"

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

void mouseAt(QTest::MouseAction action, QWidget *window, QPoint global, Qt::MouseButton button)
{
    QCoreApplication::processEvents();
    QWindow *handle = window->windowHandle();
    const QPoint local = handle->mapFromGlobal(global);
    if (action == QTest::MouseMove)
        QTest::mouseMove(handle, local);
    else
        QTest::mouseEvent(action, handle, button, {}, local);
}
