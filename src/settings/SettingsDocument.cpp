#include "settings/SettingsDocument.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace corvane {

namespace {

using ordered_json = nlohmann::ordered_json;
using json = nlohmann::json;

// --- writer -------------------------------------------------------------------------------

bool allFinite(const ScrollAdvanced& a) {
    return std::isfinite(a.step) && std::isfinite(a.duration) &&
           std::isfinite(a.accelerationThreshold) && std::isfinite(a.accelerationLimit) &&
           std::isfinite(a.smoothness);
}

ordered_json write(const ScrollBase& b) {
    ordered_json j = ordered_json::object();
    j["smooth"] = b.smooth;
    j["horizontalSmooth"] = b.horizontalSmooth;
    j["reverse"] = b.reverse;
    return j;
}

ordered_json write(const ScrollAdvanced& a) {
    ordered_json j = ordered_json::object();
    j["block"] = a.block;
    j["step"] = a.step;
    j["duration"] = a.duration;
    j["accelerationThreshold"] = a.accelerationThreshold;
    j["accelerationLimit"] = a.accelerationLimit;
    j["smoothness"] = a.smoothness;
    return j;
}

ordered_json write(const ExceptionalApplication& e) {
    ordered_json j = ordered_json::object();
    j["bundleId"] = e.bundleId();
    j["scrollBase"] = write(e.scrollBase());
    j["scrollAdvanced"] = write(e.scrollAdvanced());
    j["inherit"] = e.inherit();
    return j;
}

ordered_json write(const AppSettings& s) {
    ordered_json j = ordered_json::object();
    j["launchAtLogin"] = s.launchAtLogin;
    j["showMenuIcon"] = s.showMenuIcon;
    ordered_json list = ordered_json::array();
    for (const auto& e : s.exceptionalApplication)
        list.push_back(write(*e));
    j["exceptionalApplication"] = std::move(list);
    j["showScrollHelperText"] = s.showScrollHelperText;
    j["showSystemHelperText"] = s.showSystemHelperText;
    return j;
}

// --- reader -------------------------------------------------------------------------------

/// Thrown inside the reader only; decodeSettings turns it into none.
struct DecodeFailure {};

const json& required(const json& object, const char* name) {
    auto it = object.find(name);
    if (it == object.end() || it->is_null())
        throw DecodeFailure{};
    return *it;
}

/// The member when present and not null.
const json* optionalMember(const json& object, const char* name) {
    auto it = object.find(name);
    return it == object.end() || it->is_null() ? nullptr : &*it;
}

const json& requireObject(const json& value) {
    if (!value.is_object())
        throw DecodeFailure{};
    return value;
}

bool readBool(const json& value) {
    if (!value.is_boolean())
        throw DecodeFailure{};
    return value.get<bool>();
}

double readNumber(const json& value) {
    if (!value.is_number())
        throw DecodeFailure{};
    double number = value.get<double>();
    // A literal beyond the double range (1e400) reads as infinite: the writer could never
    // have produced it, and a document must read back as it would be written.
    if (!std::isfinite(number))
        throw DecodeFailure{};
    return number;
}

std::int64_t readInteger(const json& value) {
    if (value.is_number_integer() && !value.is_number_unsigned())
        return value.get<std::int64_t>();
    if (value.is_number_unsigned()) {
        auto u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            throw DecodeFailure{};
        }
        return static_cast<std::int64_t>(u);
    }
    throw DecodeFailure{};
}

std::string readString(const json& value) {
    if (!value.is_string())
        throw DecodeFailure{};
    return value.get<std::string>();
}

ScrollBase readScrollBase(const json& value) {
    const json& o = requireObject(value);
    ScrollBase b;
    b.smooth = readBool(required(o, "smooth"));
    b.horizontalSmooth = readBool(required(o, "horizontalSmooth"));
    b.reverse = readBool(required(o, "reverse"));
    return b;
}

ScrollAdvanced readScrollAdvanced(const json& value) {
    const json& o = requireObject(value);
    ScrollAdvanced a;  // each member missing or null keeps its default
    if (const json* block = optionalMember(o, "block")) {
        if (!block->is_array())
            throw DecodeFailure{};
        a.block.clear();
        a.block.reserve(block->size());
        for (const json& code : *block)
            a.block.push_back(readInteger(code));
    }
    struct Number {
        const char* name;
        double ScrollAdvanced::*field;
    };
    static constexpr Number kNumbers[] = {
        {"step", &ScrollAdvanced::step},
        {"duration", &ScrollAdvanced::duration},
        {"accelerationThreshold", &ScrollAdvanced::accelerationThreshold},
        {"accelerationLimit", &ScrollAdvanced::accelerationLimit},
        {"smoothness", &ScrollAdvanced::smoothness},
    };
    for (const Number& n : kNumbers) {
        if (const json* v = optionalMember(o, n.name))
            a.*(n.field) = readNumber(*v);
    }
    return a;
}

ExceptionalApplicationRef readException(const json& value) {
    const json& o = requireObject(value);
    // Members are read into locals first: a failure part-way discards the whole exception.
    std::string bundleId = readString(required(o, "bundleId"));
    ScrollBase base = readScrollBase(required(o, "scrollBase"));
    ScrollAdvanced advanced = readScrollAdvanced(required(o, "scrollAdvanced"));
    bool inherit = readBool(required(o, "inherit"));
    return std::make_shared<ExceptionalApplication>(std::move(bundleId), base, std::move(advanced),
                                                    inherit);
}

AppSettings readAppSettings(const json& value) {
    const json& o = requireObject(value);
    AppSettings s;
    s.launchAtLogin = readBool(required(o, "launchAtLogin"));
    s.showMenuIcon = readBool(required(o, "showMenuIcon"));
    const json& list = required(o, "exceptionalApplication");
    if (!list.is_array())
        throw DecodeFailure{};
    s.exceptionalApplication.reserve(list.size());
    for (const json& e : list)
        s.exceptionalApplication.push_back(readException(e));
    s.showScrollHelperText = readBool(required(o, "showScrollHelperText"));
    s.showSystemHelperText = readBool(required(o, "showSystemHelperText"));
    return s;
}

}  // namespace

std::optional<std::string> encodeSettings(const CorvaneSettings& settings) {
    if (!allFinite(settings.scrollAdvanced))
        return std::nullopt;
    for (const auto& e : settings.appSettings.exceptionalApplication) {
        if (!e || !allFinite(e->scrollAdvanced()))
            return std::nullopt;
    }
    ordered_json j = ordered_json::object();
    j["appSettings"] = write(settings.appSettings);
    j["scrollBase"] = write(settings.scrollBase);
    j["scrollAdvanced"] = write(settings.scrollAdvanced);
    try {
        return j.dump();
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;  // a bundle identifier that is not UTF-8
    }
}

std::optional<CorvaneSettings> decodeSettings(std::string_view document) {
    json j = json::parse(document.begin(), document.end(), nullptr, /*allow_exceptions=*/false);
    if (j.is_discarded())
        return std::nullopt;
    try {
        const json& o = requireObject(j);
        CorvaneSettings settings;
        settings.appSettings = readAppSettings(required(o, "appSettings"));
        settings.scrollBase = readScrollBase(required(o, "scrollBase"));
        settings.scrollAdvanced = readScrollAdvanced(required(o, "scrollAdvanced"));
        return settings;
    } catch (const DecodeFailure&) {
        return std::nullopt;
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;
    }
}

}  // namespace corvane
