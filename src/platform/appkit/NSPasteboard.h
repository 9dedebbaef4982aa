#pragma once

#include <optional>
#include <string>

namespace corvane::platform {

/// A pasteboard type: a uniform type identifier.
using NSPasteboardType = std::string;
/// Plain text.
inline const NSPasteboardType NSPasteboardTypeString = "public.utf8-plain-text";

/// The general pasteboard, where copied things are put for other applications to paste.
/// Main thread only.
class NSPasteboard {
  public:
    static NSPasteboard& generalPasteboard();

    /// Drops every item, before new ones are written; returns the new change count.
    long clearContents();
    /// Puts `string` on the pasteboard as `type`; false when it could not be written.
    bool setString(const std::string& string, const NSPasteboardType& type);
    /// The string on the pasteboard as `type`, or none.
    std::optional<std::string> stringForType(const NSPasteboardType& type) const;

  private:
    NSPasteboard() = default;
};

}  // namespace corvane::platform
