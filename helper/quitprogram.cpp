#include "helper/quitprogram.h"

#include "helper/appflags.h"
#include "helper/session.h"

#include <QCoreApplication>
#include <QDebug>

namespace {
RefusalNotifier g_refusalNotifier;
// What nginx is given to end by itself when the program must end now; the
// program's whole end stays within the two seconds a system gives it.
const int kNginxGraceMs = 200;
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
    qWarning() << "the system asked the program to end and its end did not come in time: ending without the window";
    // The program ends right after this: no script, no waiting for the port.
    Session::instance()->stopNginxAtOnce(kNginxGraceMs);
}
