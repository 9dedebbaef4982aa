#pragma once

#include <ostream>

#include "Scenario.h"

namespace corvane::session {

/// Plays a scenario on the simulated session: sets the session up as the scenario says, starts
/// the scroll pipeline, plays the events at their times on the virtual clock until the
/// scenario's end, then writes what every application received as JSON lines and a closing
/// summary line. Use once per process (the system's services are process-wide).
class SessionDriver {
public:
    explicit SessionDriver(Scenario scenario) : scenario_(std::move(scenario)) {}

    /// Sets the session up, starts the pipeline and plays every event.
    void play();
    /// One line per event an application received, then `{"summary": {...}}`.
    void report(std::ostream& out) const;

private:
    void setUpSession() const;
    void schedule(const ScenarioEvent& event) const;

    Scenario scenario_;
};

}  // namespace corvane::session
