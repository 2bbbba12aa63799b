// Ending the desktop session or a termination signal saves the notes' places as Exit does.
#include "MarkForm.h"

#include "Application.h"
#include "BaseFunc.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int SignalPipe[2] = {-1, -1};

extern "C" void OnEndSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe work here: the event loop reads the byte.
    [[maybe_unused]] const ssize_t written = ::write(SignalPipe[0], &byte, 1);
}

} // namespace

void InstallSessionEndHandling()
{
    // The session manager asks the program to save before the session ends; the notes'
    // places are all there is to save.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp,
                     [](QSessionManager&) { RunCommand([] { SaveMarkFormPositions(); }); });

    if (SignalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalPipe) != 0)
        return;
    for (int fd : SignalPipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    auto* notifier = new QSocketNotifier(SignalPipe[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char buffer[16];
        while (::read(SignalPipe[1], buffer, sizeof buffer) > 0) {
        }
        // Leaving the event loop takes the way of Exit: the exit procedures save the notes.
        // (quit() would first ask every window to close, and a window may refuse.)
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}
