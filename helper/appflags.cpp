#include "helper/appflags.h"

#include <QCoreApplication>

std::atomic<bool> g_fileAdding{false};
int g_refreshCount = 0;

namespace {
bool g_programEndRequested = false;
}

void requestProgramEnd()
{
    g_programEndRequested = true;
    // Only loops that run now hear this; main reads the flag for the rest.
    QCoreApplication::quit();
}

bool programEndRequested()
{
    return g_programEndRequested;
}
