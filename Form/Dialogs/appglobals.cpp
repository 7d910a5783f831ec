#include "Form/Dialogs/appglobals.h"

#include "Form/Dialogs/formmessage.h"
#include "Form/Dialogs/prompt.h"
#include "dataproc/cvarohomedataproc.h"
#include "helper/quitprogram.h"
#include "platform/network.h"

namespace {
AppGlobals *g_appGlobals = nullptr;

// The core refuses to quit while videos are being added but shows no
// windows itself; it tells the user through the shared prompt.
void showRefusal(const QString &text)
{
    Prompt *prompt = AppGlobals::prompt();
    prompt->setPrompt(text);
    prompt->exec();
}
} // namespace

AppGlobals *AppGlobals::instance()
{
    if (!g_appGlobals)
        g_appGlobals = new AppGlobals;
    return g_appGlobals;
}

AppGlobals::AppGlobals()
    : m_prompt(new Prompt)
    , m_formMessage(new FormMessage)
{
    // Makes the holder afresh when a refusal comes after release().
    setRefusalNotifier(showRefusal);
}

AppGlobals::~AppGlobals()
{
    delete m_prompt;
    delete m_formMessage;
}

void AppGlobals::release()
{
    delete g_appGlobals;
    g_appGlobals = nullptr;
    CVaroHomeDataProc::releaseInstance();
}

void AppGlobals::setMainWidget(QWidget *mainWidget)
{
    instance()->m_mainWidget = mainWidget;
}

QWidget *AppGlobals::mainWidget()
{
    return g_appGlobals ? g_appGlobals->m_mainWidget : nullptr;
}

CVaroHomeDataProc *AppGlobals::dataProc()
{
    // The first use of any accessor makes the holder, and with it the
    // prompt that the refusals need.
    instance();
    return CVaroHomeDataProc::instance();
}

Prompt *AppGlobals::prompt()
{
    return instance()->m_prompt;
}

FormMessage *AppGlobals::formMessage()
{
    return instance()->m_formMessage;
}

QString AppGlobals::getLocalIP()
{
    return platform::localIPv4Address();
}
