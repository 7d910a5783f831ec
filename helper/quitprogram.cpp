#include "helper/quitprogram.h"

#include "helper/appflags.h"
#include "helper/session.h"

#include <QCoreApplication>
#include <QDebug>

namespace {
RefusalNotifier g_refusalNotifier;
}

void setRefusalNotifier(RefusalNotifier notifier)
{
    g_refusalNotifier = std::move(notifier);
}

bool refuseWhileAdding(const QString &text)
{
    if (!g_fileAdding)
        return false;
    if (g_refusalNotifier)
        g_refusalNotifier(text);
    else
        qDebug() << "refused while videos are being added:" << text;
    return true;
}

bool quitProgram(const QString &refusal)
{
    if (refuseWhileAdding(refusal))
        return false;
    Session::instance()->StopNginx();
    QCoreApplication::quit();
    return true;
}

void stopServersWithoutTheWindow()
{
    qWarning() << "the system asked the program to end and the window did not answer: ending without it";
    Session::instance()->StopNginx();
}
