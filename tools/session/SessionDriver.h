#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Scenario.h"
#include "platform/sim/RingBuffer.h"
#include "platform/sim/WindowServer.h"

namespace corvane::session {

/// A scenario that cannot be played through: a folder or the bundle that cannot be made, or
/// an event that cannot be played (a window that is not open, a label found nowhere in it,
/// an element that does not take the action, a menu item that cannot be chosen, a
/// notification not shown, no update offered). The message names the place, the event and
/// the window or item; its control characters are escaped, so that it is one whole line.
class SessionError : public std::runtime_error {
  public:
    explicit SessionError(const std::string& message);
};

/// Plays a scenario on the simulated session: sets the session up as the scenario says
/// (displays, applications, settings, Accessibility permission, OS version), runs the
/// application's own start-up (`CorvaneApp::main`), plays the events at their times on the
/// virtual clock until the scenario's end, the application's termination or the process's
/// exit, then writes what
/// every application received as JSON lines and a closing summary line. Log lines echoed to
/// standard error carry the scenario time ("[t=2.000] No permission"). Use once per process
/// (the system's services are process-wide).
class SessionDriver {
  public:
    /// How many of the latest lines besides the received events are kept for the report: as
    /// many as the window server keeps of the received events.
    static constexpr std::size_t kKeptShownLines = platform::sim::WindowServer::kKeptEvents;

    explicit SessionDriver(Scenario scenario) : scenario_(std::move(scenario)) {}

    /// Sets the session up, starts the application and plays every event. Throws
    /// SessionError, ending the run, for a folder or bundle of the scenario that cannot be
    /// made, an event in a window that cannot be played, a menu item that cannot be chosen, or
    /// an alert or password prompt that appeared with no answer given.
    void play();
    /// One line per event an application received, with the line of each "show" event, of
    /// each opening of the status menu, of each diagnostics copy (`{"t": T, "pasteboard":
    /// TEXT}`, the pasteboard's string after the copy, null when it holds none) and a
    /// `{"t": T, "stdout": TEXT}` line per line the system printed to standard output among
    /// them in time order (the latest `kKeptShownLines` of these), then `{"summary": {...}}`
    /// with per-process counts and point sums of every event received, how many event lines
    /// and how many of those other lines were written and whether they were capped,
    /// display-link frames, the HUD messages shown
    /// (text, time, duration), the window identifiers open at the end, whether the
    /// application terminated, whether the status item is shown, the store's current settings
    /// (as a settings document), the URLs asked to open (when there were any), the activation
    /// policy and the Dock badge at the end, and every notification delivered (with the time
    /// it was taken away, if it was), and last how long the run was: the simulated seconds
    /// played and the wall-clock seconds it took to play them. Every time is written in
    /// seconds to the nanosecond, the virtual clock's resolution (0.45, never
    /// 0.4499999999999318).
    void report(std::ostream& out) const;

  private:
    void setUpSession() const;
    /// Does what one scenario event says; runs on the main lane at the event's time.
    void perform(const ScenarioEvent& event);
    /// Queues event `index`, which queues the next when it runs.
    void queueEvent(std::size_t index);
    void playWindowInput(const ScenarioEvent& event);
    /// The user clicks the status item ("openMenu") and chooses an item of its menu ("menu"):
    /// records the menu as it opened, and the choice.
    void clickStatusItem(const ScenarioEvent& event);
    static void giveScriptedAnswer(const ScenarioEvent& event);
    /// Whether the application still runs: not terminated, the process not exited.
    static bool running();
    void reportMove(nlohmann::ordered_json& summary) const;
    void playUpdateInput(const ScenarioEvent& event) const;
    /// Keeps `line`, written at scenario time `t`, for the report (the latest
    /// `kKeptShownLines`).
    void keepShownLine(double t, std::string line);

    Scenario scenario_;
    std::uint64_t firstEventPlace_ = 0;
    /// The lines the run wrote besides the received events (the "show" events' windows, the
    /// status menu's openings, the diagnostics copies, what the system printed), with their
    /// scenario times, in order: the latest `kKeptShownLines`, and how many there were.
    platform::sim::RingBuffer<std::pair<double, std::string>> shown_;
    std::uint64_t shownInAll_ = 0;
    double playedSeconds_ = 0;  ///< seconds of the virtual clock that `play` moved through
    double wallSeconds_ = 0;    ///< wall-clock seconds that `play` took
};

}  // namespace corvane::session
