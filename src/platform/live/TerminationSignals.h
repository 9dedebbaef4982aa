#pragma once

namespace corvane::platform::live {

/// Hands SIGTERM and SIGINT over to the main loop, so that they end the live application
/// through its own termination. The handler does only async-signal-safe work: it writes one
/// byte to a pipe and puts the default action back, so that a second signal ends a process
/// whose loop does not answer. The main loop watches the pipe's read end.
class TerminationSignals {
  public:
    /// Installs the handlers (once per process) and returns the pipe's read end
    /// (non-blocking, closed on exec), or -1 when no pipe could be made.
    static int install();
};

}  // namespace corvane::platform::live
