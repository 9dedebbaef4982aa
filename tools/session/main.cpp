// corvane-session SCENARIO.json: plays a scenario on the simulated session and writes what
// every application received (JSON lines on standard output; log lines on standard error).
//
// Every way out goes through the end of main, so that the session's folder of files (removed
// at exit) never stays behind: a scenario that cannot be read ends with one line and status 2,
// one that cannot be played through (or whose report cannot be written) with one line and
// status 1. A signal that ends a process by default (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1,
// SIGALRM, ...) ends the run as it would, once the folder is removed.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <thread>

#include "Scenario.h"
#include "SessionDriver.h"
#include "platform/log/OSLog.h"
#include "platform/sim/QuotedText.h"
#include "platform/sim/RuntimeFolder.h"
#include "platform/sim/Session.h"
#include "platform/sim/SimFileSystem.h"

namespace {

constexpr const char* kUsage =
    "usage: corvane-session SCENARIO.json\n"
    "Plays the scenario on the simulated session and writes what every application received\n"
    "as JSON lines to standard output, log lines to standard error. The scenario may come\n"
    "through a pipe (/dev/stdin, <(...)); README.md describes its format. A file whose name\n"
    "starts with '-' is given as ./-NAME.\n";

int fail(const char* path, const std::string& message, int status) {
    std::fprintf(stderr, "corvane-session: %s: %s\n",
                 corvane::platform::sim::withControlsEscaped(path).c_str(), message.c_str());
    return status;
}

/// What an error that is not one of the driver's own says, on one line.
std::string describe(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return "out of memory";
    return corvane::platform::sim::withControlsEscaped(error.what());
}

/// The signals whose default action ends the process and that come from outside it (a
/// kill, the terminal, a timer or a resource limit): they can be taken on a thread of their
/// own. Those a fault raises in the thread that made it (SIGSEGV, SIGBUS, SIGFPE, SIGILL,
/// SIGTRAP, SIGSYS, SIGABRT) cannot, and SIGPIPE is ignored instead (see main).
sigset_t endingSignals() {
    sigset_t endings;
    sigemptyset(&endings);
    for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM,
                             SIGPROF, SIGIO, SIGXCPU, SIGXFSZ, SIGPWR, SIGSTKFLT})
        sigaddset(&endings, signal);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        sigaddset(&endings, signal);
    // One that does not end the process as it starts is left as it is: ignored (nohup's
    // SIGHUP), or taken by a handler set up before main (a profiler's SIGPROF).
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction action {};
        if (sigismember(&endings, signal) == 1 &&
            (sigaction(signal, nullptr, &action) != 0 || action.sa_handler != SIG_DFL)) {
            sigdelset(&endings, signal);
        }
    }
    return endings;
}

/// Takes the ending signals (`endingSignals`) on a thread of their own: they are blocked in
/// every thread made after this call, and one that arrives removes the session's folder, then
/// ends the process as the signal does by default. Call before any other thread is made.
void endOnSignalsWithoutLeavingTheFolder() {
    const sigset_t endings = endingSignals();
    pthread_sigmask(SIG_BLOCK, &endings, nullptr);
    std::thread([endings] {
        int signal = 0;
        if (sigwait(&endings, &signal) != 0)
            return;
        corvane::platform::sim::FileSystem::removeMadeFolder();
        std::signal(signal, SIG_DFL);
        sigset_t taken;
        sigemptyset(&taken);
        sigaddset(&taken, signal);
        pthread_sigmask(SIG_UNBLOCK, &taken, nullptr);
        std::raise(signal);
    }).detach();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvane::session;
    endOnSignalsWithoutLeavingTheFolder();
    // An option is no scenario: --help (or -h) asks for the usage, anything else is a mistake.
    if (argc != 2 || argv[1][0] == '-') {
        const bool help =
            argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h");
        std::fputs(kUsage, help ? stdout : stderr);
        return help ? 0 : 2;
    }
    corvane::platform::sim::installSimulatedSession();
    corvane::platform::sim::provideRuntimeFolder();
    const char* path = argv[1];
    // A reader that goes away (`| head`) makes the report's write fail instead of killing
    // the process.
    std::signal(SIGPIPE, SIG_IGN);
    Scenario scenario;
    try {
        scenario = readScenarioFile(path);
    } catch (const ScenarioError& error) {
        return fail(path, error.what(), 2);
    } catch (const std::exception& error) {
        return fail(path, describe(error), 2);
    }
    try {
        corvane::platform::LogStore::shared().setEchoToStandardError(true);
        SessionDriver driver(std::move(scenario));
        driver.play();
        driver.report(std::cout);
        std::cout.flush();
        if (!std::cout)
            return fail(path, "standard output cannot be written", 1);
    } catch (const SessionError& error) {
        return fail(path, error.what(), 1);
    } catch (const std::exception& error) {
        return fail(path, describe(error), 1);
    }
    return 0;
}
