#include "settings/SettingsDocument.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

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

/// Writes the document as compact JSON straight into one string, member by member in a
/// fixed order. Each value is written by the library's own serializer, so numbers and strings
/// read exactly as a dump of the whole tree would write them; the tree itself is never built.
/// More than the bytes of a document without exceptions, and of one exception with a long
/// bundle identifier and a few blocked keys.
constexpr std::size_t kDocumentBytes = 512;
constexpr std::size_t kExceptionBytes = 320;

class DocumentWriter {
  public:
    /// A writer whose text has room for `expectedSize` bytes, so that a long document is not
    /// copied as it grows.
    explicit DocumentWriter(std::size_t expectedSize)
        : serializer_(nlohmann::detail::output_adapter<char>(text_), ' ') {
        text_.reserve(expectedSize);
    }

    /// Opens an object (`{`) or an array (`[`) as the value of the member `name` (or as the
    /// document or an element of an array, without a name).
    void open(char bracket, const char* name = nullptr) {
        member(name);
        text_ += bracket;
        first_ = true;
    }
    /// Closes the innermost open object (`}`) or array (`]`).
    void close(char bracket) {
        text_ += bracket;
        first_ = false;
    }
    /// A member with a scalar value: a bool, a number or a string (which must be UTF-8:
    /// else the serializer throws).
    template <class T>
    void value(const char* name, const T& v) {
        member(name);
        serializer_.dump(ordered_json(v), false, false, 0);
    }
    void value(const char* name, const std::vector<std::int64_t>& list) {
        member(name);
        text_ += '[';
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (i > 0)
                text_ += ',';
            serializer_.dump(ordered_json(list[i]), false, false, 0);
        }
        text_ += ']';
    }
    std::string take() { return std::move(text_); }

  private:
    void member(const char* name) {
        if (!first_)
            text_ += ',';
        first_ = false;
        if (name != nullptr) {
            text_ += '"';
            text_ += name;  // the document's own names: plain ASCII, nothing to escape
            text_ += "\":";
        }
    }

    std::string text_;
    nlohmann::detail::serializer<ordered_json> serializer_;
    bool first_ = true;  ///< nothing written yet in the open object or array
};

void write(DocumentWriter& w, const char* name, const ScrollBase& b) {
    w.open('{', name);
    w.value("smooth", b.smooth);
    w.value("horizontalSmooth", b.horizontalSmooth);
    w.value("reverse", b.reverse);
    w.close('}');
}

void write(DocumentWriter& w, const char* name, const ScrollAdvanced& a) {
    w.open('{', name);
    w.value("block", a.block);
    w.value("step", a.step);
    w.value("duration", a.duration);
    w.value("accelerationThreshold", a.accelerationThreshold);
    w.value("accelerationLimit", a.accelerationLimit);
    w.value("smoothness", a.smoothness);
    w.close('}');
}

void write(DocumentWriter& w, const ExceptionalApplication& e) {
    w.open('{');
    w.value("bundleId", e.bundleId());
    write(w, "scrollBase", e.scrollBase());
    write(w, "scrollAdvanced", e.scrollAdvanced());
    w.value("inherit", e.inherit());
    w.close('}');
}

void write(DocumentWriter& w, const AppSettings& s) {
    w.open('{', "appSettings");
    w.value("launchAtLogin", s.launchAtLogin);
    w.value("showMenuIcon", s.showMenuIcon);
    w.open('[', "exceptionalApplication");
    for (const auto& e : s.exceptionalApplication)
        write(w, *e);
    w.close(']');
    w.value("showScrollHelperText", s.showScrollHelperText);
    w.value("showSystemHelperText", s.showSystemHelperText);
    w.close('}');
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
    try {
        DocumentWriter w(kDocumentBytes +
                         kExceptionBytes * settings.appSettings.exceptionalApplication.size());
        w.open('{');
        write(w, settings.appSettings);
        write(w, "scrollBase", settings.scrollBase);
        write(w, "scrollAdvanced", settings.scrollAdvanced);
        w.close('}');
        return w.take();
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
