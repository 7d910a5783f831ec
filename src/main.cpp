#include "helper/appglobals.h"
#include "platform/termination.h"
#include "src/brontel.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The program lives in the tray: closing the last visible window (a
    // dialog shown while the main window is hidden) must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    platform::quitOnTerminationRequest();

    int result = 0;
    {
        Brontel window;
        window.show();
        result = QApplication::exec();
    }
    // The shared dialogs are widgets: they go before the application object.
    AppGlobals::release();
    return result;
}
