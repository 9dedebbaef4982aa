#pragma once

#include <ostream>

#include "Scenario.h"

namespace corvane::session {

/// Plays a scenario on the simulated session: sets the session up as the scenario says
/// (displays, applications, settings, Accessibility permission, OS version), runs the
/// application's own start-up (`CorvaneApp::main`), plays the events at their times on the
/// virtual clock until the scenario's end or the application's termination, then writes what
/// every application received as JSON lines and a closing summary line. Log lines echoed to
/// standard error carry the scenario time ("[t=2.000] No permission"). Use once per process
/// (the system's services are process-wide).
class SessionDriver {
  public:
    explicit SessionDriver(Scenario scenario) : scenario_(std::move(scenario)) {}

    /// Sets the session up, starts the application and plays every event.
    void play();
    /// One line per event an application received, then `{"summary": {...}}` with per-process
    /// counts and point sums, display-link frames, the HUD messages shown (text, time,
    /// duration), the window identifiers open at the end, whether the application terminated,
    /// and the settings document the store holds.
    void report(std::ostream& out) const;

  private:
    void setUpSession() const;
    void schedule(const ScenarioEvent& event) const;

    Scenario scenario_;
};

}  // namespace corvane::session
