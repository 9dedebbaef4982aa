#pragma once

namespace corvane {

/// Moving the application into an Applications folder. Never instantiated; every operation
/// is static and runs on the main thread.
class AppMover {
  public:
    AppMover() = delete;

    /// Offers, once per launch, to move the application into an Applications folder when
    /// it was launched from elsewhere. The application is left where it is for now.
    static void moveToApplicationsIfNeeded();
};

}  // namespace corvane
