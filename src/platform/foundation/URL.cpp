#include "platform/foundation/URL.h"

#include <cctype>
#include <string_view>
#include <vector>

#include "platform/foundation/FileManager.h"

namespace corvane::platform {

namespace {

bool isSchemeCharacter(char c, bool first) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalpha(u))
        return true;
    return !first && (std::isdigit(u) || c == '+' || c == '-' || c == '.');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/// Hands each character of `text` percent-decoded to `take`, in order, while `take` returns
/// true; returns whether every character was taken. A "%" not followed by two hex digits
/// stands for itself.
template <class Take>
bool forEachDecoded(std::string_view text, Take&& take) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < text.size()) {
            const int hi = hexValue(text[i + 1]);
            const int lo = hexValue(text[i + 2]);
            if (hi >= 0 && lo >= 0) {
                c = static_cast<char>(hi * 16 + lo);
                i += 2;
            }
        }
        if (!take(c))
            return false;
    }
    return true;
}

std::string percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    forEachDecoded(text, [&](char c) {
        out += c;
        return true;
    });
    return out;
}

std::string percentEncodePath(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : path) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        }
    }
    return out;
}

// Where the last path component of `path` lies, trailing slashes left out.
struct Component {
    std::size_t begin;
    std::size_t end;
};

Component lastComponent(const std::string& path) {
    std::size_t end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    if (end == 1 && path[0] == '/')
        return {0, 1};
    const std::size_t slash = path.rfind('/', end == 0 ? 0 : end - 1);
    const std::size_t begin = (slash == std::string::npos || end == 0) ? 0 : slash + 1;
    return {begin, end};
}

}  // namespace

std::optional<URL> URL::fromString(const std::string& text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u == 0x7F)
            return std::nullopt;
    }
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    std::string scheme = text.substr(0, colon);
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        if (!isSchemeCharacter(scheme[i], i == 0))
            return std::nullopt;
        scheme[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(scheme[i])));
    }
    return URL(std::move(scheme), text.substr(colon + 1), false);
}

URL URL::fileURLWithPath(std::string path) {
    return URL("file", std::move(path), true);
}

std::string URL::absoluteString() const {
    if (fromPath_)
        return "file://" + percentEncodePath(rest_);
    return scheme_ + ":" + rest_;
}

std::string_view URL::encodedPath() const {
    std::string_view rest(rest_);
    rest = rest.substr(0, rest.find_first_of("?#"));
    if (rest.starts_with("//")) {
        const std::size_t slash = rest.find('/', 2);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    return rest;
}

std::string URL::path() const {
    if (fromPath_)
        return rest_;
    return percentDecode(encodedPath());
}

bool URL::hasPath(std::string_view expected) const {
    if (fromPath_)
        return rest_ == expected;
    std::size_t matched = 0;
    const bool same = forEachDecoded(encodedPath(), [&](char c) {
        return matched < expected.size() && expected[matched++] == c;
    });
    return same && matched == expected.size();
}

std::string URL::lastPathComponent() const {
    const std::string p = path();
    const Component c = lastComponent(p);
    return p.substr(c.begin, c.end - c.begin);
}

URL URL::deletingPathExtension() const {
    // The path part of `rest_` ends where a query or fragment begins (file paths keep all).
    const std::size_t pathEnd = fromPath_ ? rest_.size() : rest_.find_first_of("?#");
    std::string pathPart = rest_.substr(0, pathEnd);
    const Component c = lastComponent(pathPart);
    const std::size_t dot = pathPart.rfind('.', c.end == 0 ? 0 : c.end - 1);
    if (dot != std::string::npos && dot > c.begin && dot < c.end) {
        pathPart.erase(dot, c.end - dot);
    }
    std::string rest = pathPart + (pathEnd == std::string::npos ? "" : rest_.substr(pathEnd));
    return URL(scheme_, std::move(rest), fromPath_);
}

std::string URL::pathExtension() const {
    const std::string name = lastPathComponent();
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot + 1);
}

URL URL::URLByAppendingPathComponent(const std::string& component) const {
    std::string base = path();
    if (!base.ends_with('/'))
        base += '/';
    return fileURLWithPath(base + component);
}

URL URL::standardizedURL() const {
    const std::string p = path();
    const bool absolute = p.starts_with('/');
    std::vector<std::string> parts;
    std::size_t begin = 0;
    while (begin <= p.size()) {
        const std::size_t slash = std::min(p.find('/', begin), p.size());
        const std::string part = p.substr(begin, slash - begin);
        begin = slash + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == ".." && !parts.empty() && parts.back() != "..")
            parts.pop_back();
        else if (part != ".." || !absolute)
            parts.push_back(part);
    }
    std::string out = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i == 0 ? "" : "/") + parts[i];
    if (p.size() > 1 && p.ends_with('/') && !parts.empty())
        out += '/';
    return fileURLWithPath(out);
}

URL URL::URLByResolvingSymlinksInPath() const {
    return fileURLWithPath(fileManagerBackend().resolvingSymlinksInPath(path()));
}

}  // namespace corvane::platform
