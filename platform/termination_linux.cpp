#include "platform/termination.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

int g_signalPipe[2] = {-1, -1};
// The same signals again, for the watch that ends a program whose GUI
// thread does not take them up.
int g_watchPipe[2] = {-1, -1};
std::atomic<bool> g_answered{false};

// Only async-signal-safe work here: one byte into each pipe; the event loop
// and the watch do the rest.
void onSignal(int signal)
{
    const int savedErrno = errno;
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
    [[maybe_unused]] const ssize_t watched = ::write(g_watchPipe[1], &byte, 1);
    errno = savedErrno;
}

// Waits for the first request; ends the process when the GUI thread has not
// taken it up in time, or the program has not ended in time after all.
void watch(void (*onUnanswered)())
{
    char signal = 0;
    ssize_t got;
    do {
        got = ::read(g_watchPipe[0], &signal, 1);
    } while (got < 0 && errno == EINTR);
    if (got != 1)
        return;
    const auto start = std::chrono::steady_clock::now();
    const auto answerBy = start + std::chrono::milliseconds(kTerminationAnswerMs);
    const auto endBy = start + std::chrono::milliseconds(kTerminationEndMs);
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if ((!g_answered && now >= answerBy) || now >= endBy) {
            if (onUnanswered)
                onUnanswered();
            ::_exit(128 + static_cast<unsigned char>(signal));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

void quitOnTerminationRequest(void (*onRequest)(), void (*onUnanswered)())
{
    if (g_signalPipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return;
    // The handler never waits on a full pipe: a request is a request however
    // many bytes say it. Without the pipe the requests still reach the
    // window, unwatched.
    if (::pipe2(g_watchPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        const int readFlags = ::fcntl(g_watchPipe[0], F_GETFL);
        ::fcntl(g_watchPipe[0], F_SETFL, readFlags & ~O_NONBLOCK);
        std::thread(watch, onUnanswered).detach();
    }

    auto *notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onRequest] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(g_signalPipe[1], &byte, 1);
        g_answered = true;
        if (onRequest)
            onRequest();
        else
            QCoreApplication::quit();
    });

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

} // namespace platform
