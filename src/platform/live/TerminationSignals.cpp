#include "platform/live/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace corvane::platform::live {

namespace {

/// The pipe's write end, for the handler; -1 until installed.
volatile sig_atomic_t writeEnd = -1;

void handleTermination(int signal) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up; nothing else can be done here.
    (void)!write(writeEnd, &byte, 1);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(signal, &defaultAction, nullptr);
    errno = savedErrno;
}

int makePipe() {
    int ends[2];
    if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) {
        return -1;
    }
    writeEnd = ends[1];
    struct sigaction action {};
    action.sa_handler = &handleTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    return ends[0];
}

}  // namespace

int TerminationSignals::install() {
    static const int readEnd = makePipe();
    return readEnd;
}

}  // namespace corvane::platform::live
