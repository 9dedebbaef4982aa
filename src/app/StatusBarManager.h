#pragma once

namespace corvane {

/// The process-wide owner of the application's status item in the menu bar. Main thread
/// only.
class StatusBarManager {
  public:
    /// The instance, created on first use (logging "Module initialized: StatusBarManager"),
    /// never destroyed.
    static StatusBarManager& shared();

  private:
    StatusBarManager();
};

}  // namespace corvane
