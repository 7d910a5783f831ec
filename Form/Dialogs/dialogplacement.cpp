#include "Form/Dialogs/dialogplacement.h"

#include "Form/Dialogs/appglobals.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreSharedDialog(QWidget *dialog)
{
    const QWidget *pages = AppGlobals::mainWidget();
    const QWidget *over = pages ? pages->parentWidget() : nullptr;
    if (over) {
        const QPoint topLeft = over->mapToGlobal(QPoint(0, 0));
        dialog->move(topLeft.x() + (over->width() - dialog->width()) / 2,
                     topLeft.y() + (over->height() - dialog->height()) / 2);
        return;
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    dialog->move(area.x() + (area.width() - dialog->width()) / 2,
                 area.y() + (area.height() - dialog->height()) / 2);
}
