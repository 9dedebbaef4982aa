#include "Scenario.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>

#include "platform/appkit/WindowInspection.h"

namespace corvane::session {

namespace {

using nlohmann::json;

/// Reads members of one JSON object, naming the place of every error.
class Reader {
public:
    Reader(const json& value, std::string place) : value_(value), place_(std::move(place)) {
        if (!value_.is_object()) fail("expected an object");
    }

    [[noreturn]] void fail(const std::string& message) const {
        throw ScenarioError((place_.empty() ? std::string("scenario") : place_) + ": " + message);
    }
    std::string at(const char* member) const {
        return place_.empty() ? member : place_ + "." + member;
    }
    const json* find(const char* member) const {
        auto it = value_.find(member);
        return it == value_.end() ? nullptr : &*it;
    }
    const json& require(const char* member) const {
        const json* v = find(member);
        if (v == nullptr) throw ScenarioError(at(member) + ": missing");
        return *v;
    }
    void onlyKnown(const std::set<std::string>& known) const {
        for (const auto& [key, v] : value_.items()) {
            if (known.count(key) == 0) throw ScenarioError(at(key.c_str()) + ": unknown member");
        }
    }

    double number(const char* member, double fallback, bool required = false) const {
        const json* v = required ? &require(member) : find(member);
        if (v == nullptr) return fallback;
        if (!v->is_number() || !std::isfinite(v->get<double>())) {
            throw ScenarioError(at(member) + ": expected a finite number");
        }
        return v->get<double>();
    }
    std::int64_t integer(const char* member, std::int64_t fallback, std::int64_t lo, std::int64_t hi,
                         bool required = false) const {
        const json* v = required ? &require(member) : find(member);
        if (v == nullptr) return fallback;
        if (!v->is_number_integer()) throw ScenarioError(at(member) + ": expected a whole number");
        if (v->is_number_unsigned() && v->get<std::uint64_t>() > static_cast<std::uint64_t>(hi)) {
            throw ScenarioError(at(member) + ": out of range");
        }
        std::int64_t n = v->get<std::int64_t>();
        if (n < lo || n > hi) throw ScenarioError(at(member) + ": out of range");
        return n;
    }
    std::uint64_t unsignedInteger(const char* member) const {
        const json* v = find(member);
        if (v == nullptr) return 0;
        if (!v->is_number_unsigned() && !(v->is_number_integer() && v->get<std::int64_t>() >= 0)) {
            throw ScenarioError(at(member) + ": expected a whole number of at least 0");
        }
        return v->get<std::uint64_t>();
    }
    bool boolean(const char* member, bool fallback) const {
        const json* v = find(member);
        if (v == nullptr) return fallback;
        if (!v->is_boolean()) throw ScenarioError(at(member) + ": expected true or false");
        return v->get<bool>();
    }
    std::string string(const char* member, bool required) const {
        const json* v = required ? &require(member) : find(member);
        if (v == nullptr) return {};
        if (!v->is_string()) throw ScenarioError(at(member) + ": expected a string");
        return v->get<std::string>();
    }
    const json& array(const char* member) const {
        const json& v = require(member);
        if (!v.is_array()) throw ScenarioError(at(member) + ": expected a list");
        return v;
    }

private:
    const json& value_;
    std::string place_;
};

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

ScenarioDisplay readDisplay(const json& value, const std::string& place) {
    Reader r(value, place);
    r.onlyKnown({"id", "bounds", "refreshHz"});
    ScenarioDisplay d;
    d.id = static_cast<std::uint32_t>(r.integer("id", 0, 1, 0xFFFFFFFF, true));
    const json& bounds = r.require("bounds");
    if (!bounds.is_array() || bounds.size() != 4) {
        throw ScenarioError(r.at("bounds") + ": expected [x, y, width, height]");
    }
    double* parts[] = {&d.x, &d.y, &d.width, &d.height};
    for (std::size_t i = 0; i < 4; ++i) {
        if (!bounds[i].is_number() || !std::isfinite(bounds[i].get<double>())) {
            throw ScenarioError(r.at("bounds") + "[" + std::to_string(i) + "]: expected a finite number");
        }
        *parts[i] = bounds[i].get<double>();
    }
    if (d.width <= 0 || d.height <= 0) throw ScenarioError(r.at("bounds") + ": width and height must be above 0");
    d.refreshHz = r.number("refreshHz", 60);
    if (d.refreshHz <= 0 || d.refreshHz > 1000) throw ScenarioError(r.at("refreshHz") + ": expected 1 to 1000");
    return d;
}

ScenarioApp readApp(const json& value, const std::string& place) {
    Reader r(value, place);
    r.onlyKnown({"pid", "bundleId", "name", "policy", "executable"});
    ScenarioApp a;
    a.pid = static_cast<std::int32_t>(r.integer("pid", 0, 2, kInt32Max, true));
    a.bundleId = r.string("bundleId", true);
    a.name = r.string("name", false);
    if (a.name.empty()) a.name = a.bundleId;
    if (r.find("policy") != nullptr) a.policy = r.string("policy", true);
    if (a.policy != "regular" && a.policy != "accessory" && a.policy != "prohibited") {
        throw ScenarioError(r.at("policy") + ": expected \"regular\", \"accessory\" or \"prohibited\"");
    }
    if (r.find("executable") != nullptr) a.executable = r.string("executable", true);
    return a;
}

/// The window events: "show" reads a window; "press", "toggle", "slide", "select" act on
/// one of its elements by label; "key" presses a key in it. False for any other type.
bool readWindowInput(const Reader& r, const std::string& type, ScenarioEvent& e) {
    using Kind = ScenarioEvent::Kind;
    static const std::pair<const char*, Kind> kinds[] = {
        {"show", Kind::show},   {"press", Kind::press},   {"toggle", Kind::toggle},
        {"slide", Kind::slide}, {"select", Kind::select}, {"key", Kind::key},
    };
    const auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                   [&](const auto& k) { return type == k.first; });
    if (kind == std::end(kinds))
        return false;
    e.kind = kind->second;
    auto& input = e.input;
    input.window = r.string("window", true);
    if (input.window != "permission" && input.window != "preferences" && input.window != "about" &&
        input.window != "hud") {
        throw ScenarioError(r.at("window") +
                            ": expected \"permission\", \"preferences\", \"about\" or \"hud\"");
    }
    switch (e.kind) {
        case Kind::show:
            r.onlyKnown({"t", "type", "window"});
            break;
        case Kind::key:
            r.onlyKnown({"t", "type", "window", "key"});
            input.key = r.string("key", true);
            if (!platform::parseKeyPress(input.key)) {
                throw ScenarioError(r.at("key") +
                                    ": expected a key such as \"return\", \"escape\" or \"cmd+q\"");
            }
            break;
        default:
            r.onlyKnown(e.kind == Kind::toggle || e.kind == Kind::slide
                            ? std::set<std::string>{"t", "type", "window", "label", "value"}
                            : std::set<std::string>{"t", "type", "window", "label"});
            input.label = r.string("label", true);
            if (input.label.empty())
                throw ScenarioError(r.at("label") + ": must not be empty");
            if (e.kind == Kind::toggle) {
                if (!r.require("value").is_boolean())
                    throw ScenarioError(r.at("value") + ": expected true or false");
                input.on = r.boolean("value", false);
            } else if (e.kind == Kind::slide) {
                input.value = r.number("value", 0, true);
            }
            break;
    }
    return true;
}

void readActivateApp(const Reader& r, ScenarioEvent& e) {
    r.onlyKnown({"t", "type", "pid"});
    e.kind = ScenarioEvent::Kind::activateApp;
    e.pid = static_cast<std::int32_t>(r.integer("pid", 0, 2, kInt32Max, true));
}

void readMenuChoice(const Reader& r, ScenarioEvent& e) {
    r.onlyKnown({"t", "type", "item"});
    e.kind = ScenarioEvent::Kind::menu;
    e.item = r.string("item", true);
    if (e.item.empty())
        throw ScenarioError(r.at("item") + ": expected a menu item identifier");
}

/// The update events: "updateFound" (a check finds a version), "clickNotification" and
/// "dismissNotification" (what the user does with a notification), "attendUpdate" and
/// "finishUpdateSession" (what the user does with the update offered). False for any other
/// type.
bool readUpdateInput(const Reader& r, const std::string& type, ScenarioEvent& e) {
    using Kind = ScenarioEvent::Kind;
    static const std::pair<const char*, Kind> kinds[] = {
        {"updateFound", Kind::updateFound},
        {"clickNotification", Kind::clickNotification},
        {"dismissNotification", Kind::dismissNotification},
        {"attendUpdate", Kind::attendUpdate},
        {"finishUpdateSession", Kind::finishUpdateSession},
    };
    const auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                   [&](const auto& k) { return type == k.first; });
    if (kind == std::end(kinds))
        return false;
    e.kind = kind->second;
    auto nonEmpty = [&](const char* member) {
        std::string text = r.string(member, true);
        if (text.empty())
            throw ScenarioError(r.at(member) + ": must not be empty");
        return text;
    };
    switch (e.kind) {
        case Kind::updateFound:
            r.onlyKnown({"t", "type", "version", "userInitiated"});
            e.update.version = nonEmpty("version");
            e.update.userInitiated = r.boolean("userInitiated", false);
            break;
        case Kind::clickNotification:
        case Kind::dismissNotification:
            r.onlyKnown({"t", "type", "identifier"});
            e.update.identifier = nonEmpty("identifier");
            break;
        default:
            r.onlyKnown({"t", "type"});
            break;
    }
    return true;
}

ScenarioEvent readEvent(const json& value, const std::string& place) {
    Reader r(value, place);
    ScenarioEvent e;
    e.t = r.number("t", 0, true);
    if (e.t < 0) throw ScenarioError(r.at("t") + ": must be at least 0");
    const std::string type = r.string("type", true);
    if (type == "wheel") {
        r.onlyKnown({"t", "type", "target", "source", "location", "flags", "lineY", "pointY", "fixedY",
                     "lineX", "pointX", "fixedX", "scrollPhase", "momentumPhase", "scrollCount"});
        e.kind = ScenarioEvent::Kind::wheel;
        e.target = static_cast<std::int32_t>(r.integer("target", 0, kInt32Min, kInt32Max));
        e.source = static_cast<std::int32_t>(r.integer("source", 0, kInt32Min, kInt32Max));
        if (const json* loc = r.find("location")) {
            if (!loc->is_array() || loc->size() != 2 || !(*loc)[0].is_number() || !(*loc)[1].is_number()) {
                throw ScenarioError(r.at("location") + ": expected [x, y]");
            }
            e.locationX = (*loc)[0].get<double>();
            e.locationY = (*loc)[1].get<double>();
        }
        e.flags = r.unsignedInteger("flags");
        e.lineY = r.integer("lineY", 0, std::numeric_limits<std::int64_t>::min(),
                            std::numeric_limits<std::int64_t>::max());
        e.lineX = r.integer("lineX", 0, std::numeric_limits<std::int64_t>::min(),
                            std::numeric_limits<std::int64_t>::max());
        e.pointY = r.number("pointY", 0);
        e.pointX = r.number("pointX", 0);
        e.fixedY = r.number("fixedY", 0);
        e.fixedX = r.number("fixedX", 0);
        e.scrollPhase = r.number("scrollPhase", 0);
        e.momentumPhase = r.number("momentumPhase", 0);
        e.scrollCount = r.number("scrollCount", 0);
    } else if (type == "flagsChanged") {
        r.onlyKnown({"t", "type", "keyCode", "flags"});
        e.kind = ScenarioEvent::Kind::flagsChanged;
        e.keyCode = r.integer("keyCode", 0, 0, 0xFFFF, true);
        e.flags = r.unsignedInteger("flags");
    } else if (type == "activateApp") {
        readActivateApp(r, e);
    } else if (type == "menu") {
        readMenuChoice(r, e);
    } else if (!readWindowInput(r, type, e) && !readUpdateInput(r, type, e)) {
        r.onlyKnown({"t", "type"});
        static const std::pair<const char*, ScenarioEvent::Kind> kinds[] = {
            {"leftMouseDown", ScenarioEvent::Kind::leftMouseDown},
            {"sessionResign", ScenarioEvent::Kind::sessionResign},
            {"sessionActivate", ScenarioEvent::Kind::sessionActivate},
            {"grantAccessibility", ScenarioEvent::Kind::grantAccessibility},
            {"reopen", ScenarioEvent::Kind::reopen},
            {"quit", ScenarioEvent::Kind::quit},
            {"openMenu", ScenarioEvent::Kind::openMenu},
        };
        bool known = false;
        for (const auto& [name, kind] : kinds) {
            if (type == name) {
                e.kind = kind;
                known = true;
            }
        }
        if (!known) throw ScenarioError(r.at("type") + ": unknown event type \"" + type + "\"");
    }
    return e;
}

/// "15", "15.1" or "15.1.2": up to three whole numbers of at most four digits.
Scenario::Version readVersion(const std::string& text) {
    const ScenarioError error("osVersion: expected a version such as \"15.1\"");
    int parts[3] = {0, 0, 0};
    std::size_t count = 0, digits = 0;
    for (char c : text) {
        if (c == '.') {
            if (digits == 0 || ++count == 3) throw error;
            digits = 0;
        } else if (std::isdigit(static_cast<unsigned char>(c)) && digits < 4) {
            parts[count] = parts[count] * 10 + (c - '0');
            ++digits;
        } else {
            throw error;
        }
    }
    if (digits == 0) throw error;
    return {parts[0], parts[1], parts[2]};
}

}  // namespace

const char* toString(ScenarioEvent::Kind kind) {
    switch (kind) {
        case ScenarioEvent::Kind::wheel: return "wheel";
        case ScenarioEvent::Kind::flagsChanged: return "flagsChanged";
        case ScenarioEvent::Kind::leftMouseDown: return "leftMouseDown";
        case ScenarioEvent::Kind::sessionResign: return "sessionResign";
        case ScenarioEvent::Kind::sessionActivate: return "sessionActivate";
        case ScenarioEvent::Kind::grantAccessibility: return "grantAccessibility";
        case ScenarioEvent::Kind::reopen: return "reopen";
        case ScenarioEvent::Kind::quit: return "quit";
        case ScenarioEvent::Kind::show:
            return "show";
        case ScenarioEvent::Kind::press:
            return "press";
        case ScenarioEvent::Kind::toggle:
            return "toggle";
        case ScenarioEvent::Kind::slide:
            return "slide";
        case ScenarioEvent::Kind::select:
            return "select";
        case ScenarioEvent::Kind::key:
            return "key";
        case ScenarioEvent::Kind::activateApp:
            return "activateApp";
        case ScenarioEvent::Kind::openMenu:
            return "openMenu";
        case ScenarioEvent::Kind::menu:
            return "menu";
        case ScenarioEvent::Kind::updateFound:
            return "updateFound";
        case ScenarioEvent::Kind::clickNotification:
            return "clickNotification";
        case ScenarioEvent::Kind::dismissNotification:
            return "dismissNotification";
        case ScenarioEvent::Kind::attendUpdate:
            return "attendUpdate";
        case ScenarioEvent::Kind::finishUpdateSession:
            return "finishUpdateSession";
    }
    return "?";
}

Scenario parseScenario(const std::string& text) {
    json root;
    try {
        root = json::parse(text);
    } catch (const json::parse_error& e) {
        throw ScenarioError(std::string("not valid JSON: ") + e.what());
    }
    Reader r(root, "");
    r.onlyKnown({"displays", "apps", "frontmost", "accessibility", "osVersion", "settings", "events", "until"});
    Scenario s;

    const json& displays = r.array("displays");
    if (displays.empty()) throw ScenarioError("displays: at least one display is needed");
    std::set<std::uint32_t> displayIds;
    for (std::size_t i = 0; i < displays.size(); ++i) {
        std::string place = "displays[" + std::to_string(i) + "]";
        s.displays.push_back(readDisplay(displays[i], place));
        if (!displayIds.insert(s.displays.back().id).second) throw ScenarioError(place + ".id: used twice");
    }

    if (r.find("apps") != nullptr) {
        const json& apps = r.array("apps");
        std::set<std::int32_t> pids;
        for (std::size_t i = 0; i < apps.size(); ++i) {
            std::string place = "apps[" + std::to_string(i) + "]";
            s.apps.push_back(readApp(apps[i], place));
            if (!pids.insert(s.apps.back().pid).second) throw ScenarioError(place + ".pid: used twice");
        }
    }
    auto hasApp = [&s](std::int32_t pid) {
        return std::any_of(s.apps.begin(), s.apps.end(),
                           [pid](const auto& a) { return a.pid == pid; });
    };
    s.frontmost = static_cast<std::int32_t>(r.integer("frontmost", 0, 0, kInt32Max));
    if (s.frontmost != 0 && !hasApp(s.frontmost)) {
        throw ScenarioError("frontmost: no app has pid " + std::to_string(s.frontmost));
    }
    s.accessibility = r.boolean("accessibility", true);
    if (r.find("osVersion") != nullptr) s.osVersion = readVersion(r.string("osVersion", true));
    if (const json* settings = r.find("settings")) {
        // An object is stored as its JSON text; a string is stored as it stands, so that a
        // damaged document can be played too.
        if (settings->is_object()) {
            s.settingsDocument = settings->dump();
        } else if (settings->is_string()) {
            s.settingsDocument = settings->get<std::string>();
        } else {
            throw ScenarioError("settings: expected a settings document (an object, or its text)");
        }
    }

    const json& events = r.array("events");
    for (std::size_t i = 0; i < events.size(); ++i) {
        std::string place = "events[" + std::to_string(i) + "]";
        s.events.push_back(readEvent(events[i], place));
        const ScenarioEvent& e = s.events.back();
        if (e.kind == ScenarioEvent::Kind::activateApp && !hasApp(e.pid)) {
            throw ScenarioError(place + ".pid: no app has pid " + std::to_string(e.pid));
        }
        if (i > 0 && s.events[i].t < s.events[i - 1].t) {
            throw ScenarioError(place + ".t: events must be in time order");
        }
    }
    s.until = r.number("until", 0, true);
    if (!s.events.empty() && s.until < s.events.back().t) {
        throw ScenarioError("until: must not be before the last event");
    }
    if (s.until < 0 || s.until > 86400) throw ScenarioError("until: expected 0 to 86400 seconds");
    return s;
}

}  // namespace corvane::session
