#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace corvane::platform::live {

/// What reading a file found.
struct RegularFileText {
    bool exists = false;              ///< something is at the path
    std::optional<std::string> text;  ///< none: it exists but cannot be read
    bool regular = false;             ///< what is there is a regular file
};

/// Reads the regular file at `path`, at most `maxBytes` of it. It is opened without blocking,
/// so that a FIFO or a device put in the file's place cannot hang the caller: what is not a
/// regular file is never read (it exists, with no text). A file larger than `maxBytes` has no
/// text either.
RegularFileText readRegularFile(const std::string& path, std::size_t maxBytes);

}  // namespace corvane::platform::live
