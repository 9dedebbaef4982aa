#include "Scenario.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>

#include "platform/appkit/WindowElements.h"
#include "platform/sim/QuotedText.h"
#include "platform/sim/SimWorkspace.h"

namespace corvane::session {

namespace {

using nlohmann::json;

/// Reads members of one JSON object, naming the place of every error.
class Reader {
  public:
    Reader(const json& value, std::string place) : value_(value), place_(std::move(place)) {
        if (!value_.is_object())
            fail("expected an object");
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
        if (v == nullptr)
            throw ScenarioError(at(member) + ": missing");
        return *v;
    }
    void onlyKnown(const std::set<std::string>& known) const {
        for (const auto& [key, v] : value_.items()) {
            if (known.count(key) == 0)
                throw ScenarioError(at(key.c_str()) + ": unknown member");
        }
    }

    double number(const char* member, double fallback, bool required = false) const {
        const json* v = required ? &require(member) : find(member);
        if (v == nullptr)
            return fallback;
        if (!v->is_number() || !std::isfinite(v->get<double>())) {
            throw ScenarioError(at(member) + ": expected a finite number");
        }
        return v->get<double>();
    }
    std::int64_t integer(const char* member, std::int64_t fallback, std::int64_t lo,
                         std::int64_t hi, bool required = false) const {
        const json* v = required ? &require(member) : find(member);
        if (v == nullptr)
            return fallback;
        if (!v->is_number_integer())
            throw ScenarioError(at(member) + ": expected a whole number");
        if (v->is_number_unsigned() && v->get<std::uint64_t>() > static_cast<std::uint64_t>(hi)) {
            throw ScenarioError(at(member) + ": out of range");
        }
        std::int64_t n = v->get<std::int64_t>();
        if (n < lo || n > hi)
            throw ScenarioError(at(member) + ": out of range");
        return n;
    }
    std::uint64_t unsignedInteger(const char* member) const {
        const json* v = find(member);
        if (v == nullptr)
            return 0;
        if (!v->is_number_unsigned() && !(v->is_number_integer() && v->get<std::int64_t>() >= 0)) {
            throw ScenarioError(at(member) + ": expected a whole number of at least 0");
        }
        return v->get<std::uint64_t>();
    }
    bool boolean(const char* member, bool fallback) const {
        const json* v = find(member);
        if (v == nullptr)
            return fallback;
        if (!v->is_boolean())
            throw ScenarioError(at(member) + ": expected true or false");
        return v->get<bool>();
    }
    std::string string(const char* member, bool required) const {
        const json* v = required ? &require(member) : find(member);
        if (v == nullptr)
            return {};
        if (!v->is_string())
            throw ScenarioError(at(member) + ": expected a string");
        return v->get<std::string>();
    }
    const json& array(const char* member) const {
        const json& v = require(member);
        if (!v.is_array())
            throw ScenarioError(at(member) + ": expected a list");
        return v;
    }

  private:
    const json& value_;
    std::string place_;
};

/// Deeper input is refused rather than followed: the settings document is written out again
/// by a recursive serializer.
constexpr int kMaxNesting = 64;

/// An absolute path of the session, without a NUL byte.
std::string absolutePath(const Reader& r, const char* member) {
    std::string path = r.string(member, true);
    if (!path.starts_with("/") || path.find('\0') != std::string::npos)
        throw ScenarioError(r.at(member) + ": expected an absolute path");
    return path;
}

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
            throw ScenarioError(r.at("bounds") + "[" + std::to_string(i) +
                                "]: expected a finite number");
        }
        *parts[i] = bounds[i].get<double>();
    }
    if (d.width <= 0 || d.height <= 0)
        throw ScenarioError(r.at("bounds") + ": width and height must be above 0");
    d.refreshHz = r.number("refreshHz", 60);
    if (d.refreshHz < 1 || d.refreshHz > 1000)
        throw ScenarioError(r.at("refreshHz") + ": expected 1 to 1000");
    return d;
}

ScenarioApp readApp(const json& value, const std::string& place) {
    Reader r(value, place);
    r.onlyKnown({"pid", "bundleId", "name", "policy", "executable", "bundle"});
    ScenarioApp a;
    a.pid = static_cast<std::int32_t>(r.integer("pid", 0, 2, kInt32Max, true));
    if (a.pid == platform::sim::SimWorkspace::kOwnProcessIdentifier) {
        throw ScenarioError(r.at("pid") + ": " + std::to_string(a.pid) +
                            " is the application's own process");
    }
    // Left out, the application has no bundle identifier; an identifier is never empty.
    if (r.find("bundleId") != nullptr) {
        a.bundleId = r.string("bundleId", true);
        if (a.bundleId->empty())
            throw ScenarioError(r.at("bundleId") +
                                ": must not be empty (leave it out for an application without "
                                "a bundle identifier)");
    }
    a.name = r.string("name", false);
    if (a.name.empty())
        a.name = a.bundleId.value_or("");
    if (r.find("policy") != nullptr)
        a.policy = r.string("policy", true);
    if (a.policy != "regular" && a.policy != "accessory" && a.policy != "prohibited") {
        throw ScenarioError(r.at("policy") +
                            ": expected \"regular\", \"accessory\" or \"prohibited\"");
    }
    if (r.find("executable") != nullptr)
        a.executable = r.string("executable", true);
    if (r.find("bundle") != nullptr)
        a.bundle = absolutePath(r, "bundle");
    return a;
}

ScenarioFolder readFolder(const json& value, const std::string& place) {
    Reader r(value, place);
    r.onlyKnown({"path", "writable", "contents"});
    ScenarioFolder f;
    f.path = absolutePath(r, "path");
    f.writable = r.boolean("writable", true);
    if (r.find("contents") == nullptr)
        return f;
    const json& contents = r.array("contents");
    for (std::size_t i = 0; i < contents.size(); ++i) {
        const std::string at = r.at("contents") + "[" + std::to_string(i) + "]";
        if (!contents[i].is_string())
            throw ScenarioError(at + ": expected a string");
        const std::string name = contents[i].get<std::string>();
        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
            name.find('\0') != std::string::npos)
            throw ScenarioError(at + ": expected a name without a slash");
        f.contents.push_back(name);
    }
    return f;
}

/// `"choose": PATH` (an absolute session path) or `"cancel": true`, one of the two.
void readOpenPanelAnswer(const Reader& r, ScenarioEvent& e) {
    r.onlyKnown({"t", "type", "choose", "cancel"});
    e.kind = ScenarioEvent::Kind::openPanel;
    const bool cancel = r.boolean("cancel", false);
    const bool choose = r.find("choose") != nullptr;
    if (choose == cancel)
        r.fail("expected either \"choose\": PATH or \"cancel\": true");
    if (choose)
        e.scripted.text = absolutePath(r, "choose");
    e.scripted.number = cancel ? 1 : 0;
}

/// "alertAnswer" gives the next alert's answer, "adminScript" the next administrator
/// script's outcome, "taskExit" the next child process's exit status, "openPanel" the next
/// open panel's choice or cancel. False for any other type.
bool readScriptedAnswer(const Reader& r, const std::string& type, ScenarioEvent& e) {
    using Kind = ScenarioEvent::Kind;
    auto& scripted = e.scripted;
    if (type == "alertAnswer") {
        r.onlyKnown({"t", "type", "button"});
        e.kind = Kind::alertAnswer;
        scripted.text = r.string("button", true);
    } else if (type == "adminScript") {
        r.onlyKnown({"t", "type", "outcome"});
        e.kind = Kind::adminScript;
        static const std::pair<const char*, int> outcomes[] = {
            {"success", 0}, {"cancel", -128}, {"error", 1}};
        const std::string outcome = r.string("outcome", true);
        const auto found = std::find_if(std::begin(outcomes), std::end(outcomes),
                                        [&](const auto& o) { return outcome == o.first; });
        if (found == std::end(outcomes))
            throw ScenarioError(r.at("outcome") +
                                ": expected \"success\", \"cancel\" or \"error\"");
        scripted.number = found->second;
    } else if (type == "taskExit") {
        r.onlyKnown({"t", "type", "launchPath", "status"});
        e.kind = Kind::taskExit;
        scripted.text = absolutePath(r, "launchPath");
        scripted.number = static_cast<int>(r.integer("status", 0, 0, 255, true));
    } else if (type == "openPanel") {
        readOpenPanelAnswer(r, e);
    } else {
        return false;
    }
    return true;
}

/// The window events: "show" reads a window; "press", "toggle", "slide", "select" act on
/// one of its elements by label ("press" and "toggle" also inside a list row, by the row's
/// label); "key" presses a key in it. False for any other type.
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
    auto read = std::make_shared<ScenarioEvent::WindowInput>();
    e.input = read;
    auto& input = *read;
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
        default: {
            std::set<std::string> known = {"t", "type", "window", "label"};
            if (e.kind == Kind::toggle || e.kind == Kind::slide)
                known.insert("value");
            // A row's own controls are looked for inside it; its switch has no title, so the
            // label may then be left out.
            if (e.kind == Kind::press || e.kind == Kind::toggle)
                known.insert("row");
            r.onlyKnown(known);
            input.row = r.string("row", false);
            if (input.row.empty() && r.find("row") != nullptr)
                throw ScenarioError(r.at("row") + ": must not be empty");
            input.label = r.string("label", input.row.empty());
            if (input.label.empty() && r.find("label") != nullptr)
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

/// The members of a fault event, by its type; false for a type that is no fault.
bool readFault(const Reader& r, const std::string& type, ScenarioEvent& e) {
    using Kind = ScenarioEvent::Kind;
    auto display = [&] {
        e.display = static_cast<std::uint32_t>(r.integer("id", 0, 1, 0xFFFFFFFF, true));
    };
    // The faults that make the next `count` operations fail.
    static const std::pair<const char*, Kind> countedFaults[] = {
        {"failNextLinkStarts", Kind::failNextLinkStarts},
        {"refuseTapCreation", Kind::refuseTapCreation},
        {"failNextCopies", Kind::failNextCopies},
        {"failNextTrash", Kind::failNextTrash},
        {"failNextFileCopy", Kind::failNextFileCopy},
    };
    const auto counted = std::find_if(std::begin(countedFaults), std::end(countedFaults),
                                      [&](const auto& k) { return type == k.first; });
    if (type == "disableTapsBySystem") {
        r.onlyKnown({"t", "type"});
        e.kind = Kind::disableTapsBySystem;
    } else if (type == "stallDisplay") {
        r.onlyKnown({"t", "type", "id", "for"});
        e.kind = Kind::stallDisplay;
        display();
        e.seconds = r.number("for", 0, true);
        if (e.seconds <= 0 || e.seconds > 86400) {
            throw ScenarioError(r.at("for") + ": expected more than 0 and at most 86400 seconds");
        }
    } else if (type == "failLinkCreation") {
        r.onlyKnown({"t", "type", "id"});
        e.kind = Kind::failLinkCreation;
        display();
    } else if (counted != std::end(countedFaults)) {
        r.onlyKnown({"t", "type", "count"});
        e.kind = counted->second;
        e.count = static_cast<int>(r.integer("count", 0, 1, kInt32Max, true));
    } else {
        return false;
    }
    return true;
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
    if (e.t < 0)
        throw ScenarioError(r.at("t") + ": must be at least 0");
    const std::string type = r.string("type", true);
    if (type == "wheel") {
        r.onlyKnown({"t", "type", "target", "source", "location", "flags", "lineY", "pointY",
                     "fixedY", "lineX", "pointX", "fixedX", "scrollPhase", "momentumPhase",
                     "scrollCount"});
        e.kind = ScenarioEvent::Kind::wheel;
        // Absent, the event names no target process (the field holds 0); given, it names one
        // of the applications, as checked once they are read.
        e.target = static_cast<std::int32_t>(r.integer("target", 0, kInt32Min, kInt32Max));
        if (e.target == 0 && r.find("target") != nullptr)
            throw ScenarioError(r.at("target") + ": no app has pid 0");
        e.source = static_cast<std::int32_t>(r.integer("source", 0, kInt32Min, kInt32Max));
        if (const json* loc = r.find("location")) {
            if (!loc->is_array() || loc->size() != 2 || !(*loc)[0].is_number() ||
                !(*loc)[1].is_number()) {
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
    } else if (!readWindowInput(r, type, e) && !readScriptedAnswer(r, type, e) &&
               !readUpdateInput(r, type, e) && !readFault(r, type, e)) {
        static const std::pair<const char*, ScenarioEvent::Kind> kinds[] = {
            {"leftMouseDown", ScenarioEvent::Kind::leftMouseDown},
            {"sessionResign", ScenarioEvent::Kind::sessionResign},
            {"sessionActivate", ScenarioEvent::Kind::sessionActivate},
            {"grantAccessibility", ScenarioEvent::Kind::grantAccessibility},
            {"reopen", ScenarioEvent::Kind::reopen},
            {"quit", ScenarioEvent::Kind::quit},
            {"openMenu", ScenarioEvent::Kind::openMenu},
            {"copyDiagnostics", ScenarioEvent::Kind::copyDiagnostics},
        };
        bool known = false;
        for (const auto& [name, kind] : kinds) {
            if (type == name) {
                e.kind = kind;
                known = true;
            }
        }
        if (!known)
            throw ScenarioError(r.at("type") + ": unknown event type " +
                                platform::sim::quotedText(type));
        r.onlyKnown({"t", "type"});
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
            if (digits == 0 || ++count == 3)
                throw error;
            digits = 0;
        } else if (std::isdigit(static_cast<unsigned char>(c)) && digits < 4) {
            parts[count] = parts[count] * 10 + (c - '0');
            ++digits;
        } else {
            throw error;
        }
    }
    if (digits == 0)
        throw error;
    return {parts[0], parts[1], parts[2]};
}

/// nlohmann's text of a syntax error shows the token last read with each control character
/// written as "<U+001B>": this puts the token's own bytes from `text` in its place, so that
/// the error line escapes them as it escapes every other text (`\u001b`). `end` is where the
/// parser stopped reading.
std::string syntaxError(std::string message, const std::string& shownToken, const std::string& text,
                        std::size_t end) {
    const std::string before = "; last read: '";
    const std::size_t at = message.rfind(before + shownToken + "'");
    if (at == std::string::npos)
        return message;
    // The token ends where reading stopped; walked back from there, each of its bytes is
    // shown as itself, or a control character as "<U+00XX>".
    std::size_t shown = shownToken.size(), start = std::min(end, text.size());
    while (shown > 0 && start > 0) {
        const auto byte = static_cast<unsigned char>(text[start - 1]);
        char control[16];
        std::snprintf(control, sizeof control, "<U+%.4X>", byte);
        const std::string_view expected =
            byte <= 0x1F ? std::string_view(control) : std::string_view(&text[start - 1], 1);
        if (shown < expected.size() ||
            std::string_view(shownToken).substr(shown - expected.size(), expected.size()) !=
                expected)
            return message;
        shown -= expected.size();
        --start;
    }
    if (shown != 0)
        return message;
    const std::size_t length = std::min(end, text.size()) - start;
    return message.replace(at + before.size(), shownToken.size(), text, start, length);
}

/// Builds the scenario's JSON tree as the parser reads it, refusing nesting deeper than
/// `kMaxNesting`. Each element of the top-level "events" list is read into `events` as soon
/// as it is whole and then dropped from the tree, so that a long scenario costs its events
/// and not a tree of them as well. Every value is put in place in constant time, so that
/// reading is linear in the text.
class ScenarioTreeBuilder {
  public:
    ScenarioTreeBuilder(const std::string& text, std::vector<ScenarioEvent>& events)
        : text_(text), events_(events) {}

    json root;

    bool null() { return put(nullptr); }
    bool boolean(bool value) { return put(value); }
    bool number_integer(json::number_integer_t value) { return put(value); }
    bool number_unsigned(json::number_unsigned_t value) { return put(value); }
    bool number_float(json::number_float_t value, const json::string_t&) { return put(value); }
    bool string(json::string_t& value) { return put(std::move(value)); }
    bool binary(json::binary_t& value) { return put(json::binary(std::move(value))); }

    bool start_object(std::size_t) { return open(json::object()); }
    bool start_array(std::size_t) {
        const bool events = open_.size() == 1 && key_ == "events";
        open(json::array());
        if (events) {
            eventList_ = open_.back();
            events_.clear();  // a repeated member replaces the earlier one
        }
        return true;
    }
    bool key(json::string_t& name) {
        member_ = &(*open_.back())[name];
        if (open_.size() == 1)
            key_ = std::move(name);
        return true;
    }
    bool end_object() { return close(); }
    bool end_array() { return close(); }

    bool parse_error(std::size_t end, const std::string& token,
                     const nlohmann::detail::exception& error) {
        // Syntax errors, and numbers beyond the range of a double.
        throw ScenarioError("not valid JSON: " + syntaxError(error.what(), token, text_, end));
    }

  private:
    /// Puts `value` where the parser stands: the root, the next element of the list being
    /// read or the value of the member just named.
    json* place(json value) {
        if (open_.empty()) {
            root = std::move(value);
            return &root;
        }
        json& parent = *open_.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        *member_ = std::move(value);
        return member_;
    }
    bool put(json value) {
        place(std::move(value));
        takeEvent();
        return true;
    }
    bool open(json container) {
        if (open_.size() >= static_cast<std::size_t>(kMaxNesting))
            throw ScenarioError("nested deeper than " + std::to_string(kMaxNesting) + " levels");
        open_.push_back(place(std::move(container)));
        return true;
    }
    bool close() {
        if (open_.back() == eventList_)
            eventList_ = nullptr;
        open_.pop_back();
        takeEvent();
        return true;
    }
    /// Reads the element just completed when it is one of the events, and drops it.
    void takeEvent() {
        if (open_.empty() || open_.back() != eventList_)
            return;
        const std::size_t i = events_.size();
        const std::string place = "events[" + std::to_string(i) + "]";
        events_.push_back(readEvent(eventList_->back(), place));
        if (i > 0 && events_[i].t < events_[i - 1].t)
            throw ScenarioError(place + ".t: events must be in time order");
        eventList_->get_ref<json::array_t&>().pop_back();
    }

    const std::string& text_;
    std::vector<ScenarioEvent>& events_;
    std::vector<json*> open_;    ///< the objects and lists being read, outermost first
    json* member_ = nullptr;     ///< the value of the member named last
    std::string key_;            ///< the top-level member named last
    json* eventList_ = nullptr;  ///< the top-level "events" list, while it is read
};

}  // namespace

ScenarioError::ScenarioError(const std::string& message)
    : std::runtime_error(platform::sim::withControlsEscaped(message)) {}

const char* toString(ScenarioEvent::Kind kind) {
    switch (kind) {
        case ScenarioEvent::Kind::wheel:
            return "wheel";
        case ScenarioEvent::Kind::flagsChanged:
            return "flagsChanged";
        case ScenarioEvent::Kind::leftMouseDown:
            return "leftMouseDown";
        case ScenarioEvent::Kind::sessionResign:
            return "sessionResign";
        case ScenarioEvent::Kind::sessionActivate:
            return "sessionActivate";
        case ScenarioEvent::Kind::grantAccessibility:
            return "grantAccessibility";
        case ScenarioEvent::Kind::reopen:
            return "reopen";
        case ScenarioEvent::Kind::quit:
            return "quit";
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
        case ScenarioEvent::Kind::copyDiagnostics:
            return "copyDiagnostics";
        case ScenarioEvent::Kind::alertAnswer:
            return "alertAnswer";
        case ScenarioEvent::Kind::adminScript:
            return "adminScript";
        case ScenarioEvent::Kind::taskExit:
            return "taskExit";
        case ScenarioEvent::Kind::openPanel:
            return "openPanel";
        case ScenarioEvent::Kind::disableTapsBySystem:
            return "disableTapsBySystem";
        case ScenarioEvent::Kind::stallDisplay:
            return "stallDisplay";
        case ScenarioEvent::Kind::failNextLinkStarts:
            return "failNextLinkStarts";
        case ScenarioEvent::Kind::failLinkCreation:
            return "failLinkCreation";
        case ScenarioEvent::Kind::refuseTapCreation:
            return "refuseTapCreation";
        case ScenarioEvent::Kind::failNextCopies:
            return "failNextCopies";
        case ScenarioEvent::Kind::failNextTrash:
            return "failNextTrash";
        case ScenarioEvent::Kind::failNextFileCopy:
            return "failNextFileCopy";
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
    Scenario s;
    // Events are read as each one is parsed and then dropped from the document. The list grows
    // with the events read: nothing is reserved from the raw text, which may be no JSON at all.
    ScenarioTreeBuilder builder(text, s.events);
    (void)json::sax_parse(text, &builder);
    const json& root = builder.root;
    Reader r(root, "");
    r.onlyKnown({"displays", "apps", "frontmost", "accessibility", "osVersion", "settings",
                 "bundle", "folders", "events", "until"});

    const json& displays = r.array("displays");
    if (displays.empty())
        throw ScenarioError("displays: at least one display is needed");
    std::set<std::uint32_t> displayIds;
    for (std::size_t i = 0; i < displays.size(); ++i) {
        std::string place = "displays[" + std::to_string(i) + "]";
        s.displays.push_back(readDisplay(displays[i], place));
        if (!displayIds.insert(s.displays.back().id).second)
            throw ScenarioError(place + ".id: used twice");
    }

    std::set<std::int32_t> pids;
    if (r.find("apps") != nullptr) {
        const json& apps = r.array("apps");
        for (std::size_t i = 0; i < apps.size(); ++i) {
            std::string place = "apps[" + std::to_string(i) + "]";
            s.apps.push_back(readApp(apps[i], place));
            if (!pids.insert(s.apps.back().pid).second)
                throw ScenarioError(place + ".pid: used twice");
        }
    }
    auto hasApp = [&pids](std::int32_t pid) { return pids.count(pid) != 0; };
    s.frontmost = static_cast<std::int32_t>(r.integer("frontmost", 0, 0, kInt32Max));
    if (s.frontmost != 0 && !hasApp(s.frontmost)) {
        throw ScenarioError("frontmost: no app has pid " + std::to_string(s.frontmost));
    }
    s.accessibility = r.boolean("accessibility", true);
    if (r.find("osVersion") != nullptr)
        s.osVersion = readVersion(r.string("osVersion", true));
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

    if (r.find("bundle") != nullptr)
        s.bundle = absolutePath(r, "bundle");
    if (r.find("folders") != nullptr) {
        const json& folders = r.array("folders");
        for (std::size_t i = 0; i < folders.size(); ++i)
            s.folders.push_back(readFolder(folders[i], "folders[" + std::to_string(i) + "]"));
    }

    (void)r.array("events");  // read while parsing
    for (std::size_t i = 0; i < s.events.size(); ++i) {
        const ScenarioEvent& e = s.events[i];
        if (e.kind == ScenarioEvent::Kind::activateApp && !hasApp(e.pid)) {
            throw ScenarioError("events[" + std::to_string(i) + "].pid: no app has pid " +
                                std::to_string(e.pid));
        }
        if (e.kind == ScenarioEvent::Kind::wheel && e.target != 0 && !hasApp(e.target)) {
            throw ScenarioError("events[" + std::to_string(i) + "].target: no app has pid " +
                                std::to_string(e.target));
        }
        if ((e.kind == ScenarioEvent::Kind::stallDisplay ||
             e.kind == ScenarioEvent::Kind::failLinkCreation) &&
            displayIds.count(e.display) == 0) {
            throw ScenarioError("events[" + std::to_string(i) + "].id: no display has id " +
                                std::to_string(e.display));
        }
    }
    s.until = r.number("until", 0, true);
    if (!s.events.empty() && s.until < s.events.back().t) {
        throw ScenarioError("until: must not be before the last event");
    }
    if (s.until < 0 || s.until > 86400)
        throw ScenarioError("until: expected 0 to 86400 seconds");
    return s;
}

Scenario readScenarioFile(const std::string& path) {
    // Opened without waiting: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw ScenarioError(std::string("cannot be read: ") + std::strerror(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw ScenarioError(std::string("cannot be read: ") + std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        throw ScenarioError("is a directory, not a scenario file");
    // A device may never end (a terminal, /dev/zero); a pipe ends when its writers are done,
    // at once when it has none.
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        throw ScenarioError("is a device, not a scenario file");
    if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode))
        throw ScenarioError("is neither a file nor a pipe, not a scenario file");
    const std::string tooLarge = "larger than " + std::to_string(kMaxScenarioBytes >> 20) + " MiB";
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxScenarioBytes)
        throw ScenarioError(tooLarge);
    // Read waiting for a pipe's writer: its data may come later.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        throw ScenarioError(std::string("cannot be read: ") + std::strerror(errno));
    // A file that grows while it is read, or a pipe, is refused once it passes the bound.
    std::string text;
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw ScenarioError(std::string("cannot be read: ") + std::strerror(errno));
        if (n == 0)
            break;
        text.append(chunk, static_cast<std::size_t>(n));
        if (text.size() > kMaxScenarioBytes)
            throw ScenarioError(tooLarge);
    }
    if (text.empty())
        throw ScenarioError("is empty, not a scenario file");
    return parseScenario(text);
}

}  // namespace corvane::session
