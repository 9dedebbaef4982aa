#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane::platform {

/// A URL value: a scheme and what follows it. File URLs are made from a path and keep it as
/// given; other URLs are parsed from their text.
class URL {
  public:
    /// Parses `text` ("scheme:rest"); none when it is empty, has no scheme, or holds
    /// whitespace or control characters (which a URL must percent-encode).
    static std::optional<URL> fromString(const std::string& text);
    /// The file URL of an absolute or relative path.
    static URL fileURLWithPath(std::string path);

    /// The whole text: "file://" and the percent-encoded path for a file URL.
    std::string absoluteString() const;
    /// The scheme in lower case ("file", "https", "x-apple.systempreferences").
    const std::string& scheme() const { return scheme_; }
    bool isFileURL() const { return scheme_ == "file"; }
    /// The path: for a file URL the path it was made from (or the decoded path of its text),
    /// otherwise the percent-decoded part after the authority, up to a query or fragment.
    std::string path() const;
    /// Whether `path()` is `expected`, found without building the path (no allocation).
    bool hasPath(std::string_view expected) const;
    /// The path's last component, ignoring trailing slashes ("Safari.app").
    std::string lastPathComponent() const;
    /// The same URL with the last component's extension removed ("/Applications/Safari").
    /// A component whose only dot is its first character has no extension.
    URL deletingPathExtension() const;
    /// The last component's extension without its dot ("app"); empty when it has none.
    std::string pathExtension() const;
    /// The file URL of this URL's path with `component` appended after a slash.
    URL URLByAppendingPathComponent(const std::string& component) const;
    /// The file URL of the path with "." components dropped and each ".." taking the
    /// component before it away.
    URL standardizedURL() const;
    /// The file URL of the path with its symbolic links resolved (on the installed
    /// file-manager backend's file system); the part from the first missing component on is
    /// kept as it is.
    URL URLByResolvingSymlinksInPath() const;

    bool operator==(const URL&) const = default;

  private:
    /// For a URL parsed from text: the part after the authority, up to a query or fragment,
    /// still percent-encoded.
    std::string_view encodedPath() const;

    URL(std::string scheme, std::string rest, bool fromPath)
        : scheme_(std::move(scheme)), rest_(std::move(rest)), fromPath_(fromPath) {}

    std::string scheme_;
    std::string rest_;  ///< the path for a file URL made from a path, else the text after "scheme:"
    bool fromPath_ = false;  ///< made with fileURLWithPath
};

}  // namespace corvane::platform
