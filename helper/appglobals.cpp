#include "helper/appglobals.h"

#include "Form/Dialogs/formmessage.h"
#include "Form/Dialogs/prompt.h"
#include "dataproc/cvarohomedataproc.h"
#include "platform/network.h"

namespace {
AppGlobals *g_appGlobals = nullptr;
}

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
}

AppGlobals::~AppGlobals()
{
    delete m_prompt;
    delete m_formMessage;
    delete m_dataProc;
}

void AppGlobals::release()
{
    delete g_appGlobals;
    g_appGlobals = nullptr;
}

void AppGlobals::setMainWidget(MainWidget *mainWidget)
{
    instance()->m_mainWidget = mainWidget;
}

MainWidget *AppGlobals::mainWidget()
{
    return g_appGlobals ? g_appGlobals->m_mainWidget : nullptr;
}

CVaroHomeDataProc *AppGlobals::dataProc()
{
    AppGlobals *globals = instance();
    if (!globals->m_dataProc)
        globals->m_dataProc = new CVaroHomeDataProc;
    return globals->m_dataProc;
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
