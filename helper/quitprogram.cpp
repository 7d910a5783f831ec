#include "helper/quitprogram.h"

#include "Form/Dialogs/prompt.h"
#include "helper/appflags.h"
#include "helper/appglobals.h"
#include "helper/session.h"

#include <QCoreApplication>

bool refuseWhileAdding(const QString &text)
{
    if (!g_fileAdding)
        return false;
    Prompt *prompt = AppGlobals::prompt();
    prompt->setPrompt(text);
    prompt->exec();
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
