#include "Form/Dialogs/appglobals.h"
#include "helper/appflags.h"
#include "helper/messagehandler.h"
#include "helper/quitprogram.h"
#include "helper/session.h"
#include "helper/singleapplication.h"
#include "platform/termination.h"
#include "src/brontel.h"
#include "tool/uuconfiglists.h"

#include <memory>

int main(int argc, char *argv[])
{
    // First of all: a later start only hands its arguments to the running
    // instance and ends, before it touches any file or port.
    SingleApplication app(argc, argv);
    // From here to the end of the process every message of every thread goes
    // to "log.txt".
    qInstallMessageHandler(messageHandler);
    if (app.isRunning())
        return 0;

    // The program lives in the tray: closing the last visible window (a
    // dialog shown while the main window is hidden) must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // A request that comes while the start-up waits (for the update service,
    // in the update pop-up) ends the start-up there, not just that wait; one
    // that the window cannot take up ends the program without it.
    platform::quitOnTerminationRequest(requestProgramEnd, stopServersWithoutTheWindow);
    // The core answers for the toolkit's download and unzip lists, which the
    // toolkit keeps.
    Session::instance()->setToolkitLists(std::make_unique<UUConfigLists>());

    int result = 0;
    {
        Brontel window;
        // The update, or the system, may already have ended the program
        // during the start-up.
        if (!programEndRequested()) {
            app.setMainWindow(&window);
            window.show();
            app.hookUpMainWindow();
            result = QApplication::exec();
        }
    }
    // The shared dialogs are widgets: they go before the application object.
    AppGlobals::release();
    return result;
}
