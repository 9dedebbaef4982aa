#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PlistValue.h"

namespace corvane::platform::live {

/// The text of a defaults file: one JSON object whose members are the keys of the domain,
/// each value a one-member object that names its kind: {"data": base64}, {"string": text},
/// {"number": n}, {"bool": b} or {"dict": {key: value, ...}}.
///
/// It is read entry by entry, so that an entry it cannot read (an unknown kind, a number
/// beyond the range of a double, a key that is not UTF-8, nesting deeper than
/// `kMaxNesting`) costs neither the other entries nor itself: such an entry is kept as its
/// text stood and written back unchanged, unless the domain has since been given a value
/// under its key.
struct DefaultsFile {
    /// Nesting of JSON objects and arrays in one value beyond which it is not followed.
    static constexpr int kMaxNesting = 64;

    /// An entry that could not be read, as it stood in the file.
    struct UnreadableEntry {
        std::string keyText;    ///< the quoted key, as written
        std::string valueText;  ///< the value, as written
        bool operator==(const UnreadableEntry&) const = default;
    };

    PlistDictionary values;
    std::vector<UnreadableEntry> unreadable;  ///< in file order

    /// The entries of `text`, or none when the text as a whole is no JSON object (nothing of
    /// it can be read). Blank text is an empty file.
    static std::optional<DefaultsFile> parse(std::string_view text);

    /// The file's text: every value, then every unreadable entry whose key no value has
    /// taken, one entry a line. None when a value cannot be written (a key or string that is
    /// not UTF-8, a number that is not finite).
    std::optional<std::string> text() const;
};

}  // namespace corvane::platform::live
