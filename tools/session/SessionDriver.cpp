#include "SessionDriver.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <type_traits>
#include <unordered_set>
#include <variant>
#include <vector>

#include "JsonText.h"
#include "app/CorvaneApp.h"
#include "app/DiagnosticsReport.h"
#include "app/HUDManager.h"
#include "app/UpdaterManager.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/NSPasteboard.h"
#include "platform/appkit/RunningApplication.h"
#include "platform/appkit/WindowElements.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/log/OSLog.h"
#include "platform/process/StandardOutput.h"
#include "platform/quartz/CGEvent.h"
#include "platform/sim/QuotedText.h"
#include "platform/sim/Session.h"
#include "platform/sim/SimDisplayLink.h"
#include "platform/sim/SimStatusBar.h"
#include "platform/sim/WheelEvent.h"
#include "settings/SettingsDocument.h"
#include "settings/SettingsManager.h"

namespace corvane::session {

namespace {

using namespace platform;
using nlohmann::ordered_json;
using sim::VirtualRuntime;

/// Seconds as the report writes them: whole nanoseconds, the virtual clock's resolution, so
/// that a time reads as its shortest decimal (0.45, not the 0.4499999999999318 that the
/// media clock's sums leave).
double inNanoseconds(double seconds) {
    return std::round(seconds * 1e9) / 1e9;
}
double mediaTimeOf(double t) {
    return VirtualRuntime::kStartMediaTime + t;
}
/// The scenario time of a media time, as the report writes it.
double scenarioTimeOf(double mediaTime) {
    return inNanoseconds(mediaTime - VirtualRuntime::kStartMediaTime);
}

ActivationPolicy policyOf(const std::string& name) {
    if (name == "accessory")
        return ActivationPolicy::accessory;
    if (name == "prohibited")
        return ActivationPolicy::prohibited;
    return ActivationPolicy::regular;
}

const char* policyName(ActivationPolicy policy) {
    switch (policy) {
        case ActivationPolicy::regular:
            return "regular";
        case ActivationPolicy::accessory:
            return "accessory";
        case ActivationPolicy::prohibited:
            return "prohibited";
    }
    return "?";
}

const char* typeName(CGEventType type) {
    switch (type) {
        case CGEventType::scrollWheel:
            return "wheel";
        case CGEventType::flagsChanged:
            return "flagsChanged";
        case CGEventType::leftMouseDown:
            return "leftMouseDown";
        default:
            return "other";
    }
}

/// "15.1" as a version; missing parts are 0 (the reader has checked the form).
/// "[t=2.000] No permission": the scenario time of the line, then its message (with its
/// level when that is not the default one).
std::string echoLine(const LogEntry& entry) {
    char time[48];
    std::snprintf(time, sizeof time, "[t=%.3f] ",
                  scenarioTimeOf(sim::virtualRuntime().mediaTime()));
    std::string line = time;
    if (entry.level != OSLogType::defaultType)
        line += std::string(toString(entry.level)) + ": ";
    return line + entry.message;
}

/// A sum as JSON: a number when a double holds it, else its text ("2e+308", "nan"), never
/// the null that JSON writers put for what a number cannot hold.
ordered_json sumValue(long double sum) {
    const auto value = static_cast<double>(sum);
    if (std::isfinite(value))
        return value;
    char text[64];
    std::snprintf(text, sizeof text, "%.17Lg", sum);
    return text;
}

CGEventRef makeEvent(const ScenarioEvent& e) {
    CGEventRef event;
    switch (e.kind) {
        case ScenarioEvent::Kind::wheel:
            event = sim::WheelEvent{.location = {e.locationX, e.locationY},
                                    .target = e.target,
                                    .source = e.source,
                                    .lineY = e.lineY,
                                    .lineX = e.lineX,
                                    .pointY = e.pointY,
                                    .pointX = e.pointX,
                                    .fixedY = e.fixedY,
                                    .fixedX = e.fixedX,
                                    .scrollPhase = e.scrollPhase,
                                    .momentumPhase = e.momentumPhase,
                                    .scrollCount = e.scrollCount,
                                    .flags = e.flags}
                        .create();
            break;
        case ScenarioEvent::Kind::flagsChanged:
            event = CGEventCreate(CGEventType::flagsChanged);
            event->setIntegerValue(kCGKeyboardEventKeycode, e.keyCode);
            event->setFlags(e.flags);
            break;
        default:
            event = CGEventCreate(CGEventType::leftMouseDown);
            event->setLocation({e.locationX, e.locationY});
            break;
    }
    event->setTimestamp(static_cast<std::uint64_t>(std::llround(mediaTimeOf(e.t) * 1e9)));
    return event;
}

/// `{"t":T,"window":ID,"title":...,"size":[w,h],"elements":[...]}`: each element with its
/// kind, label, value (when it holds one), whether it is enabled, and the sheet or popover it
/// is in (when it is in one).
std::string windowLine(double t, const std::string& identifier, const WindowContents& contents) {
    ordered_json elements = ordered_json::array();
    for (const auto& element : contents.elements) {
        ordered_json item;
        item["kind"] = element.kind;
        item["label"] = element.label;
        std::visit(
            [&](const auto& value) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(value)>, std::monostate>)
                    item["value"] = value;
            },
            element.value);
        item["enabled"] = element.enabled;
        if (!element.presentation.empty())
            item["in"] = element.presentation;
        elements.push_back(std::move(item));
    }
    ordered_json line;
    line["t"] = inNanoseconds(t);
    line["window"] = identifier;
    line["title"] = contents.title;
    line["size"] = {contents.size.width, contents.size.height};
    line["elements"] = std::move(elements);
    return jsonText(line);
}

/// A menu as it opened: `{"separator": true}` or the shown item's identifier, title, check
/// mark, key equivalent and enabling; null when the status item could not be clicked.
ordered_json menuJson(const std::optional<std::vector<sim::MenuRow>>& rows) {
    if (!rows)
        return nullptr;
    ordered_json menu = ordered_json::array();
    for (const auto& row : *rows) {
        if (row.separator) {
            menu.push_back({{"separator", true}});
            continue;
        }
        menu.push_back({{"identifier", row.identifier},
                        {"title", row.title},
                        {"state", row.state},
                        {"key", row.keyEquivalent},
                        {"enabled", row.enabled}});
    }
    return menu;
}

/// Puts one of the session's faults in place, now.
/// Faults at the session's start are put in place before the application starts.
bool appliedAtLaunch(const ScenarioEvent& e) {
    return e.isFault() && e.t == 0;
}

void applyFault(const ScenarioEvent& e) {
    sim::Session& session = sim::session();
    switch (e.kind) {
        case ScenarioEvent::Kind::disableTapsBySystem:
            for (const auto& tap : session.windowServer().taps())
                session.windowServer().disableTapBySystem(tap);
            break;
        case ScenarioEvent::Kind::stallDisplay:
            session.stallRunningDisplayLinks(e.display, e.seconds);
            break;
        case ScenarioEvent::Kind::failNextLinkStarts:
            session.failNextDisplayLinkStart(e.count);
            break;
        case ScenarioEvent::Kind::failLinkCreation:
            session.setDisplayLinkCreationRefused(e.display, true);
            break;
        case ScenarioEvent::Kind::refuseTapCreation:
            session.failNextTapCreation(e.count);
            break;
        case ScenarioEvent::Kind::failNextCopies:
            session.failNextEventCopy(e.count);
            break;
        case ScenarioEvent::Kind::failNextTrash:
            session.failNextTrash(e.count);
            break;
        case ScenarioEvent::Kind::failNextFileCopy:
            session.failNextCopy(e.count);
            break;
        default:
            break;
    }
}

}  // namespace

SessionError::SessionError(const std::string& message)
    : std::runtime_error(sim::withControlsEscaped(message)) {}

void SessionDriver::setUpSession() const {
    std::vector<Display> displays;
    for (const auto& d : scenario_.displays) {
        displays.push_back(Display{d.id, CGRect{{d.x, d.y}, d.width, d.height}, d.refreshHz});
    }
    sim::session().displays().setDisplays(std::move(displays));

    auto& workspace = sim::session().workspace();
    for (const auto& a : scenario_.apps) {
        RunningApplication::Description description{
            .processIdentifier = a.pid,
            .bundleIdentifier = a.bundleId,
            .localizedName = a.name.empty() ? std::nullopt : std::optional(a.name),
            .activationPolicy = policyOf(a.policy)};
        if (a.executable)
            description.executableURL = URL::fileURLWithPath(*a.executable);
        if (a.bundle) {
            description.bundleURL = URL::fileURLWithPath(*a.bundle);
            // Installed there too, so that the bundle can be opened at its path (as an open
            // panel's choice is) and the application is found by its identifier.
            workspace.installBundle(Bundle(*a.bundle, a.bundleId, {{"CFBundleName", a.name}}));
        }
        workspace.launch(std::move(description));
    }
    if (scenario_.frontmost != 0)
        workspace.setFrontmost(scenario_.frontmost);

    sim::session().accessibility().setTrusted(scenario_.accessibility);
    if (scenario_.osVersion)
        ProcessInfo::processInfo().setOperatingSystemVersion(
            {scenario_.osVersion->major, scenario_.osVersion->minor, scenario_.osVersion->patch});

    auto& files = sim::session().files();
    FileError error;
    auto cannotMake = [&error](const std::string& place) {
        return SessionError(place + ": cannot be made: " + error.reason);
    };
    for (std::size_t i = 0; i < scenario_.folders.size(); ++i) {
        const auto& folder = scenario_.folders[i];
        const std::string place = "folders[" + std::to_string(i) + "]";
        if (!files.makeDirectory(folder.path, &error))
            throw cannotMake(place + ".path");
        for (std::size_t j = 0; j < folder.contents.size(); ++j) {
            if (!files.makeDirectory(folder.path + "/" + folder.contents[j], &error))
                throw cannotMake(place + ".contents[" + std::to_string(j) + "]");
        }
        files.setWritable(folder.path, folder.writable);
    }
    // A running application's bundle is there, as a folder, like the application's own.
    for (std::size_t i = 0; i < scenario_.apps.size(); ++i) {
        const auto& bundle = scenario_.apps[i].bundle;
        if (bundle && !files.makeDirectory(*bundle, &error))
            throw cannotMake("apps[" + std::to_string(i) + "].bundle");
    }
    if (scenario_.bundle) {
        workspace.setOwnBundlePath(*scenario_.bundle);
        if (!files.writeFile(*scenario_.bundle + "/Contents/MacOS/Corvane", "corvane", &error))
            throw cannotMake("bundle");
    }

    PlistDictionary defaults;
    if (scenario_.settingsDocument) {
        const std::string& text = *scenario_.settingsDocument;
        defaults.emplace("corvaneSettings", Data(text.begin(), text.end()));
    }
    UserDefaults::installStandardStore(
        std::make_shared<InMemoryDefaultsStore>(std::move(defaults)));
}

void SessionDriver::perform(const ScenarioEvent& e) {
    switch (e.kind) {
        case ScenarioEvent::Kind::wheel:
        case ScenarioEvent::Kind::flagsChanged:
        case ScenarioEvent::Kind::leftMouseDown:
            (void)sim::session().windowServer().deliverHardwareEvent(makeEvent(e));
            break;
        // Session changes reach the application the way the system hands them on.
        case ScenarioEvent::Kind::sessionResign:
            sim::session().workspace().resignSession();
            break;
        case ScenarioEvent::Kind::sessionActivate:
            sim::session().workspace().activateSession();
            break;
        case ScenarioEvent::Kind::grantAccessibility:
            sim::session().accessibility().setTrusted(true);
            break;
        case ScenarioEvent::Kind::reopen:
            (void)NSApplication::shared().reopen();
            break;
        case ScenarioEvent::Kind::quit:
            NSApplication::shared().terminate();
            break;
        // What a user does in a window happens on the main thread, as the window's input.
        case ScenarioEvent::Kind::show:
        case ScenarioEvent::Kind::press:
        case ScenarioEvent::Kind::toggle:
        case ScenarioEvent::Kind::slide:
        case ScenarioEvent::Kind::select:
        case ScenarioEvent::Kind::key:
            playWindowInput(e);
            break;
        case ScenarioEvent::Kind::activateApp:
            sim::session().workspace().setFrontmost(e.pid);
            break;
        case ScenarioEvent::Kind::openMenu:
        case ScenarioEvent::Kind::menu:
            clickStatusItem(e);
            break;
        case ScenarioEvent::Kind::copyDiagnostics: {
            copyDiagnostics();
            ordered_json line{{"t", inNanoseconds(e.t)}, {"pasteboard", nullptr}};
            if (auto text = NSPasteboard::generalPasteboard().stringForType(NSPasteboardTypeString))
                line["pasteboard"] = *text;
            keepShownLine(inNanoseconds(e.t), jsonText(line));
            break;
        }
        // Answers at the start are given before launch (see play).
        case ScenarioEvent::Kind::alertAnswer:
        case ScenarioEvent::Kind::adminScript:
        case ScenarioEvent::Kind::taskExit:
        case ScenarioEvent::Kind::openPanel:
            if (e.t > 0)
                giveScriptedAnswer(e);
            break;
        // The update framework's findings and the user's answers arrive on the main thread.
        case ScenarioEvent::Kind::updateFound:
        case ScenarioEvent::Kind::clickNotification:
        case ScenarioEvent::Kind::dismissNotification:
        case ScenarioEvent::Kind::attendUpdate:
        case ScenarioEvent::Kind::finishUpdateSession:
            playUpdateInput(e);
            break;
        default:
            if (!appliedAtLaunch(e))
                applyFault(e);
            break;
    }
}

void SessionDriver::queueEvent(std::size_t index) {
    if (index >= scenario_.events.size())
        return;
    const ScenarioEvent& e = scenario_.events[index];
    sim::virtualRuntime().postInReservedOrder(VirtualRuntime::kMainLane, mediaTimeOf(e.t),
                                              firstEventPlace_ + index, [this, index, &e] {
                                                  queueEvent(index + 1);
                                                  perform(e);
                                              });
}

void SessionDriver::clickStatusItem(const ScenarioEvent& e) {
    auto& bar = sim::session().statusBar();
    ordered_json line;
    line["t"] = inNanoseconds(e.t);
    line["menu"] = menuJson(bar.openMenu());
    if (e.kind == ScenarioEvent::Kind::menu) {
        const auto choice = bar.chooseMenuItem(e.item);
        if (choice != sim::SimStatusBar::Choice::chosen) {
            throw SessionError("events[" + std::to_string(&e - scenario_.events.data()) +
                               "]: menu item " + sim::quotedText(e.item) + ": " +
                               sim::toString(choice));
        }
        line["chosen"] = e.item;
    }
    keepShownLine(inNanoseconds(e.t), jsonText(line));
}

void SessionDriver::keepShownLine(double t, std::string line) {
    ++shownInAll_;
    shown_.pushKeepingLatest({t, std::move(line)}, kKeptShownLines);
}

void SessionDriver::giveScriptedAnswer(const ScenarioEvent& e) {
    switch (e.kind) {
        case ScenarioEvent::Kind::alertAnswer:
            sim::session().alerts().queueAnswer(e.scripted.text);
            break;
        case ScenarioEvent::Kind::adminScript:
            sim::session().scripts().queueOutcome(e.scripted.number);
            break;
        case ScenarioEvent::Kind::taskExit:
            sim::session().tasks().queueExitStatus(e.scripted.text, e.scripted.number);
            break;
        case ScenarioEvent::Kind::openPanel:
            if (e.scripted.number != 0)
                sim::session().openPanels().queueCancel();
            else
                sim::session().openPanels().queueChoice(e.scripted.text);
            break;
        default:
            break;
    }
}

bool SessionDriver::running() {
    return NSApplication::shared().isRunning() && !sim::session().tasks().exitStatus();
}

void SessionDriver::playUpdateInput(const ScenarioEvent& e) const {
    const std::string place = "events[" + std::to_string(&e - scenario_.events.data()) + "]";
    auto& updates = sim::session().updates();
    auto& notifications = sim::session().notifications();
    const std::string notification =
        "no notification " + sim::quotedText(e.update.identifier) + " is shown";
    switch (e.kind) {
        case ScenarioEvent::Kind::updateFound:
            updates.offerUpdate(e.update.version);
            // The user asks as the check button or menu item does; else the schedule runs.
            if (e.update.userInitiated)
                UpdaterManager::shared().updaterController->checkForUpdates(nullptr);
            else if (!updates.runScheduledCheckNow())
                throw SessionError(place + ": no scheduled update check is arranged");
            return;
        case ScenarioEvent::Kind::clickNotification:
            if (!notifications.click(e.update.identifier))
                throw SessionError(place + ": " + notification);
            return;
        case ScenarioEvent::Kind::dismissNotification:
            if (!notifications.dismiss(e.update.identifier))
                throw SessionError(place + ": " + notification);
            return;
        case ScenarioEvent::Kind::attendUpdate:
            if (!updates.attendUpdate())
                throw SessionError(place + ": no update is being offered");
            return;
        default:
            if (!updates.finishUpdateSession())
                throw SessionError(place + ": no update is being offered");
            return;
    }
}

void SessionDriver::playWindowInput(const ScenarioEvent& e) {
    const auto& input = *e.input;
    const std::string place = "events[" + std::to_string(&e - scenario_.events.data()) +
                              "]: window " + sim::quotedText(input.window);
    const std::shared_ptr<NSWindow> window = input.window == "hud"
                                                 ? HUDManager::shared().window()
                                                 : WindowManager::shared().window(input.window);
    if (!window)
        throw SessionError(place + " is not open");
    switch (e.kind) {
        case ScenarioEvent::Kind::show:
            keepShownLine(inNanoseconds(e.t),
                          windowLine(e.t, input.window, inspectWindow(*window)));
            return;
        case ScenarioEvent::Kind::key:
            pressKey(*window, *parseKeyPress(input.key));
            return;
        default:
            break;
    }
    static const std::map<ScenarioEvent::Kind, std::pair<ElementAction::Kind, const char*>>
        actions = {
            {ScenarioEvent::Kind::press, {ElementAction::Kind::press, "pressed"}},
            {ScenarioEvent::Kind::toggle, {ElementAction::Kind::toggle, "toggled"}},
            {ScenarioEvent::Kind::slide, {ElementAction::Kind::slide, "slid"}},
            {ScenarioEvent::Kind::select, {ElementAction::Kind::select, "selected"}},
        };
    const auto& [action, verb] = actions.at(e.kind);
    const auto result = performElementAction(
        *window, input.label,
        ElementAction{.kind = action, .on = input.on, .value = input.value, .row = input.row});
    const std::string label = sim::quotedText(input.label);
    const std::string row = sim::quotedText(input.row);
    switch (result.outcome) {
        case ElementActionResult::Outcome::done:
            return;
        case ElementActionResult::Outcome::noRow:
            throw SessionError(place + " shows no row labelled " + row);
        case ElementActionResult::Outcome::notFound:
            if (input.row.empty())
                throw SessionError(place + " shows no element labelled " + label);
            if (input.label.empty())
                throw SessionError(place + ": row " + row + " holds nothing that can be " + verb);
            throw SessionError(place + ": row " + row + " shows no element labelled " + label);
        case ElementActionResult::Outcome::notActionable:
            throw SessionError(place + ": " + label + " is " +
                               (result.kind.find_first_of("aeiou") == 0 ? "an " : "a ") +
                               result.kind + ", which cannot be " + verb);
    }
}

void SessionDriver::play() {
    const auto wallStart = std::chrono::steady_clock::now();
    const double mediaStart = sim::virtualRuntime().mediaTime();
    LogStore::shared().setEchoFormatter(&echoLine);
    StandardOutput::shared().setSink([this](const std::string& text) {
        const double t = scenarioTimeOf(sim::virtualRuntime().mediaTime());
        keepShownLine(t, jsonText(ordered_json{{"t", t}, {"stdout", text}}));
    });
    setUpSession();
    // Faults at the session's start are in place when the application starts, and the move
    // offer comes first thing at launch: answers for t=0 must be there by then.
    for (const auto& e : scenario_.events) {
        if (appliedAtLaunch(e))
            applyFault(e);
        if (e.t == 0)
            giveScriptedAnswer(e);
    }
    auto& rt = sim::virtualRuntime();
    try {
        CorvaneApp::main();
        // Every event runs on the main lane at its time, in the order it would have had if all
        // had been queued now; each queues the next, so a long scenario holds one queued event
        // at a time (and makes each event when it is due).
        firstEventPlace_ = rt.reserveOrder(scenario_.events.size());
        queueEvent(0);

        // The run ends at the scenario's end, when the application has terminated, or when
        // the process has exited.
        const double end = mediaTimeOf(scenario_.until);
        while (running() && rt.nextDueTime() <= end) {
            rt.runUntil(rt.nextDueTime());
        }
        if (running())
            rt.runUntil(end);
    } catch (const sim::UnscriptedInput& unscripted) {
        char time[32];
        std::snprintf(time, sizeof time, "at t=%.3f: ", scenarioTimeOf(rt.mediaTime()));
        throw SessionError(time + std::string(unscripted.what()));
    }
    playedSeconds_ = rt.mediaTime() - mediaStart;
    wallSeconds_ =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
}

void SessionDriver::report(std::ostream& out) const {
    // The report reads managers that the run may never have made; their creation lines are
    // no stage of the run.
    LogStore::shared().setEchoToStandardError(false);
    // A window read at time t follows what the applications received up to t.
    std::size_t shown = 0;
    auto writeShownBefore = [&](double t) {
        for (; shown < shown_.size() && shown_[shown].first < t; ++shown)
            out << shown_[shown].second << '\n';
    };
    const auto received = sim::session().windowServer().receivedEvents();
    for (const auto& r : received) {
        const CGEvent& e = r.event;
        writeShownBefore(scenarioTimeOf(r.mediaTime));
        ordered_json line;
        line["t"] = scenarioTimeOf(r.mediaTime);
        line["pid"] = r.pid;
        line["origin"] = r.origin == sim::EventOrigin::hardware ? "hardware" : "synthetic";
        line["type"] = typeName(e.type());
        line["pointY"] = e.doubleValue(kCGScrollWheelEventPointDeltaAxis1);
        line["pointX"] = e.doubleValue(kCGScrollWheelEventPointDeltaAxis2);
        line["fixedY"] = e.doubleValue(kCGScrollWheelEventFixedPtDeltaAxis1);
        line["fixedX"] = e.doubleValue(kCGScrollWheelEventFixedPtDeltaAxis2);
        line["lineY"] = e.integerValue(kCGScrollWheelEventDeltaAxis1);
        line["lineX"] = e.integerValue(kCGScrollWheelEventDeltaAxis2);
        line["continuous"] = e.doubleValue(kCGScrollWheelEventIsContinuous);
        line["userData"] = e.integerValue(kCGEventSourceUserData);
        out << jsonText(line) << '\n';
    }

    writeShownBefore(std::numeric_limits<double>::infinity());

    // Counts and sums cover every event received, also those whose lines were not kept.
    std::uint64_t receivedInAll = 0;
    ordered_json perPid = ordered_json::object();
    for (const auto& [pid, t] : sim::session().windowServer().receivedTotals()) {
        receivedInAll += t.events;
        perPid[std::to_string(pid)] = {
            {"events", t.events}, {"pointY", sumValue(t.pointY)}, {"pointX", sumValue(t.pointX)}};
    }
    ordered_json summary;
    summary["pids"] = perPid;
    // Only the latest event lines are kept: say how many were written and whether that is
    // fewer than were received.
    summary["eventLines"] = {{"written", received.size()},
                             {"capped", received.size() < receivedInAll}};
    summary["shownLines"] = {{"written", shown_.size()}, {"capped", shown_.size() < shownInAll_}};
    summary["frames"] = sim::SimDisplayLink::framesDelivered();
    ordered_json hud = ordered_json::array();
    for (const auto& m : HUDManager::shared().shownMessages()) {
        hud.push_back({{"text", m.text},
                       {"t", scenarioTimeOf(m.shownAt)},
                       {"duration", inNanoseconds(m.duration)}});
    }
    summary["hud"] = hud;
    ordered_json windows = ordered_json::array();
    for (const auto& [identifier, window] : WindowManager::shared().windows())
        windows.push_back(identifier);
    summary["windows"] = windows;
    summary["terminated"] = !NSApplication::shared().isRunning();
    summary["statusItemVisible"] = sim::session().statusBar().hasVisibleItem();
    auto document = encodeSettings(SettingsManager::shared().settings());
    summary["settings"] = document ? ordered_json::parse(*document) : ordered_json();
    ordered_json opened = ordered_json::array();
    for (const auto& request : sim::session().workspace().openURLRequests()) {
        opened.push_back({{"t", scenarioTimeOf(request.mediaTime)},
                          {"url", request.url},
                          {"opened", request.opened}});
    }
    if (!opened.empty())
        summary["openedURLs"] = opened;
    reportMove(summary);
    summary["activationPolicy"] = policyName(NSApplication::shared().activationPolicy());
    summary["dockBadge"] = NSApplication::shared().dockTile().badgeLabel();
    ordered_json notifications = ordered_json::array();
    for (const auto& n : sim::session().notifications().history()) {
        ordered_json item{{"t", scenarioTimeOf(n.mediaTime)},
                          {"identifier", n.request.identifier},
                          {"title", n.request.content.title},
                          {"body", n.request.content.body}};
        if (n.removedAt)
            item["removed"] = scenarioTimeOf(*n.removedAt);
        notifications.push_back(std::move(item));
    }
    summary["notifications"] = notifications;
    summary["played"] = {{"seconds", inNanoseconds(playedSeconds_)},
                         {"wallClockSeconds", inNanoseconds(wallSeconds_)}};
    out << jsonText(ordered_json{{"summary", summary}}) << '\n';
}

void SessionDriver::reportMove(ordered_json& summary) const {
    // Lists that stay empty are left out, so that runs without a move read as before.
    auto putIfAny = [&summary](const char* key, ordered_json list) {
        if (!list.empty())
            summary[key] = std::move(list);
    };
    ordered_json alerts = ordered_json::array();
    for (const auto& alert : sim::session().alerts().shown()) {
        alerts.push_back({{"t", scenarioTimeOf(alert.mediaTime)},
                          {"message", alert.messageText},
                          {"informative", alert.informativeText},
                          {"buttons", alert.buttons},
                          {"answer", alert.answer}});
    }
    putIfAny("alerts", std::move(alerts));
    ordered_json scripts = ordered_json::array();
    for (const auto& run : sim::session().scripts().runs()) {
        scripts.push_back({{"t", scenarioTimeOf(run.mediaTime)},
                           {"source", run.source},
                           {"administrator", run.withAdministratorPrivileges},
                           {"errorNumber", run.errorNumber}});
    }
    putIfAny("scripts", std::move(scripts));
    ordered_json tasks = ordered_json::array();
    for (const auto& run : sim::session().tasks().runs()) {
        tasks.push_back({{"t", scenarioTimeOf(run.mediaTime)},
                         {"launchPath", run.launchPath},
                         {"arguments", run.arguments},
                         {"status", run.exitStatus}});
    }
    putIfAny("tasks", std::move(tasks));
    ordered_json panels = ordered_json::array();
    for (const auto& panel : sim::session().openPanels().shown()) {
        panels.push_back({{"t", scenarioTimeOf(panel.mediaTime)},
                          {"title", panel.title},
                          {"directory", panel.directory ? ordered_json(*panel.directory) : nullptr},
                          {"chosen", panel.chosen ? ordered_json(*panel.chosen) : nullptr}});
    }
    putIfAny("openPanels", std::move(panels));
    if (const auto status = sim::session().tasks().exitStatus())
        summary["exitStatus"] = *status;

    // The folders the scenario made and the bundle's, as they are at the end, and the Trash.
    if (!scenario_.bundle && scenario_.folders.empty())
        return;
    std::vector<std::string> paths;
    for (const auto& folder : scenario_.folders)
        paths.push_back(folder.path);
    if (scenario_.bundle)
        paths.push_back(URL::fileURLWithPath(*scenario_.bundle + "/..").standardizedURL().path());
    // Each path is put once, in its first place, at the end of the object's entries: the
    // object's own insertion looks for the key through every entry it holds.
    ordered_json folders = ordered_json::object();
    auto& entries = static_cast<std::vector<std::pair<const std::string, ordered_json>>&>(
        folders.get_ref<ordered_json::object_t&>());
    std::unordered_set<std::string> listed;
    auto& files = sim::session().files();
    for (const auto& path : paths) {
        if (!listed.insert(path).second)
            continue;
        auto names = files.contentsOfDirectory(path, nullptr).value_or(std::vector<std::string>{});
        std::sort(names.begin(), names.end());
        entries.emplace_back(path, names);
    }
    summary["folders"] = folders;
    summary["trash"] = files.trashedPaths();
}

}  // namespace corvane::session
