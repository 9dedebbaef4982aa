#pragma once

#include "app/AppDelegate.h"
#include "platform/ui/App.h"

namespace corvane {

/// The application value and the process entry. It has no scenes (no window of its own):
/// every window is made on demand by the window registry. Its one field creates and owns
/// the `AppDelegate`.
class CorvaneApp {
  public:
    /// The process entry: makes the application value (once; it lives as long as the
    /// process), hands its delegate to the application object and runs it. Returns the exit
    /// status once the application terminated, or, on the simulated session, as soon as
    /// launching has finished (whoever drives the session then moves its clock).
    static int main();

    /// The delegate the application value owns.
    AppDelegate& appDelegate() const { return _appDelegate.wrappedValue(); }

  private:
    CorvaneApp() = default;

    platform::ui::NSApplicationDelegateAdaptor<AppDelegate> _appDelegate;
};

}  // namespace corvane
