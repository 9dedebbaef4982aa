#include "platform/live/DefaultsFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>

namespace corvane::platform::live {

namespace {

using nlohmann::json;

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64Encode(const Data& data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < data.size(); i += 3) {
        std::uint32_t n = static_cast<std::uint32_t>(data[i]) << 16;
        if (i + 1 < data.size())
            n |= static_cast<std::uint32_t>(data[i + 1]) << 8;
        if (i + 2 < data.size())
            n |= data[i + 2];
        out += kBase64[(n >> 18) & 63];
        out += kBase64[(n >> 12) & 63];
        out += i + 1 < data.size() ? kBase64[(n >> 6) & 63] : '=';
        out += i + 2 < data.size() ? kBase64[n & 63] : '=';
    }
    return out;
}

std::optional<Data> base64Decode(const std::string& text) {
    Data out;
    std::uint32_t buffer = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=')
            break;
        const char* p = std::char_traits<char>::find(kBase64, 64, c);
        if (p == nullptr)
            return std::nullopt;
        buffer = (buffer << 6) | static_cast<std::uint32_t>(p - kBase64);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<std::uint8_t>((buffer >> bits) & 0xFF));
        }
    }
    return out;
}

/// A value JSON cannot hold (a number that is not finite).
struct NotWritable {};

json toJson(const PlistValue& value) {
    return std::visit(
        [](const auto& v) -> json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, Data>) {
                return json{{"data", base64Encode(v)}};
            } else if constexpr (std::is_same_v<T, std::string>) {
                return json{{"string", v}};
            } else if constexpr (std::is_same_v<T, double>) {
                if (!std::isfinite(v))
                    throw NotWritable{};
                return json{{"number", v}};
            } else if constexpr (std::is_same_v<T, bool>) {
                return json{{"bool", v}};
            } else {
                json dict = json::object();
                for (const auto& [k, item] : v)
                    dict[k] = toJson(item);
                return json{{"dict", dict}};
            }
        },
        value.storage());
}

/// The value of one entry; its nesting has been bounded before.
std::optional<PlistValue> fromJson(const json& j) {
    if (!j.is_object() || j.size() != 1)
        return std::nullopt;
    auto first = j.begin();
    const std::string& tag = first.key();
    const json& v = first.value();
    if (tag == "data" && v.is_string()) {
        auto data = base64Decode(v.get<std::string>());
        if (!data)
            return std::nullopt;
        return PlistValue(std::move(*data));
    }
    if (tag == "string" && v.is_string())
        return PlistValue(v.get<std::string>());
    if (tag == "number" && v.is_number())
        return PlistValue(v.get<double>());
    if (tag == "bool" && v.is_boolean())
        return PlistValue(v.get<bool>());
    if (tag == "dict" && v.is_object()) {
        PlistDictionary dict;
        for (const auto& [k, item] : v.items()) {
            auto parsed = fromJson(item);
            if (!parsed)
                return std::nullopt;
            dict.emplace(k, std::move(*parsed));
        }
        return PlistValue(std::move(dict));
    }
    return std::nullopt;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

/// Finds the extent of the top-level entries without reading them: strings to their closing
/// quote, objects and arrays to their closing bracket (brackets are counted, not matched:
/// reading the entry checks the rest), other tokens to the next delimiter. No recursion, so
/// any nesting costs only its length.
class Scanner {
  public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool atEnd() {
        skipSpace();
        return pos_ >= text_.size();
    }
    bool take(char c) {
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    /// A string with its quotes; none when there is none here or it never ends.
    std::optional<std::string_view> string() {
        skipSpace();
        if (pos_ >= text_.size() || text_[pos_] != '"')
            return std::nullopt;
        const std::size_t start = pos_++;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '\\') {
                ++pos_;
            } else if (c == '"') {
                return text_.substr(start, pos_ - start);
            }
        }
        return std::nullopt;
    }
    /// One value; `nesting` is its deepest nesting of objects and arrays. None when it never
    /// ends or is empty.
    std::optional<std::string_view> value(int& nesting) {
        skipSpace();
        const std::size_t start = pos_;
        nesting = 0;
        if (pos_ < text_.size() && text_[pos_] == '"')
            return string();
        int open = 0;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '"') {
                if (open == 0 || !string())
                    return std::nullopt;
                continue;
            }
            if (c == '{' || c == '[') {
                nesting = std::max(nesting, ++open);
            } else if (c == '}' || c == ']') {
                if (open == 0)
                    break;
                if (--open == 0) {
                    ++pos_;
                    break;
                }
            } else if (open == 0 && (c == ',' || isSpace(c))) {
                break;
            }
            ++pos_;
        }
        if (open > 0 || pos_ == start)
            return std::nullopt;
        return text_.substr(start, pos_ - start);
    }

  private:
    void skipSpace() {
        while (pos_ < text_.size() && isSpace(text_[pos_]))
            ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

/// The key of a key text, when it is a valid JSON string.
std::optional<std::string> keyOf(std::string_view keyText) {
    json key = json::parse(keyText, nullptr, /*allow_exceptions=*/false);
    if (!key.is_string())
        return std::nullopt;
    return key.get<std::string>();
}

}  // namespace

std::optional<DefaultsFile> DefaultsFile::parse(std::string_view text) {
    DefaultsFile file;
    Scanner scanner(text);
    if (scanner.atEnd())
        return file;
    if (!scanner.take('{'))
        return std::nullopt;
    if (!scanner.take('}')) {
        do {
            const auto keyText = scanner.string();
            if (!keyText || !scanner.take(':'))
                return std::nullopt;
            int nesting = 0;
            const auto valueText = scanner.value(nesting);
            if (!valueText)
                return std::nullopt;

            const auto key = keyOf(*keyText);
            std::optional<PlistValue> value;
            if (key && nesting <= kMaxNesting) {
                json j = json::parse(*valueText, nullptr, /*allow_exceptions=*/false);
                if (!j.is_discarded())
                    value = fromJson(j);
            }
            if (value) {
                file.values.insert_or_assign(*key, std::move(*value));
            } else {
                file.unreadable.push_back({std::string(*keyText), std::string(*valueText)});
            }
        } while (scanner.take(','));
        if (!scanner.take('}'))
            return std::nullopt;
    }
    if (!scanner.atEnd())
        return std::nullopt;
    return file;
}

std::optional<std::string> DefaultsFile::text() const {
    std::string out = "{";
    bool first = true;
    auto entry = [&](std::string_view key, std::string_view value) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        out.append(key).append(": ").append(value);
    };
    try {
        for (const auto& [key, value] : values)
            entry(json(key).dump(), toJson(value).dump());
    } catch (const json::exception&) {
        return std::nullopt;  // not UTF-8
    } catch (const NotWritable&) {
        return std::nullopt;
    }
    for (const auto& e : unreadable) {
        const auto key = keyOf(e.keyText);
        if (key && values.count(*key) > 0)
            continue;
        entry(e.keyText, e.valueText);
    }
    out += first ? "}\n" : "\n}\n";
    return out;
}

}  // namespace corvane::platform::live
