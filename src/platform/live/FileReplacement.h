#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace corvane::platform::live {

/// Replaces the file at `path` with `text` so that a reader finds either the old file or the
/// whole new one, even after a crash: `text` goes to a temporary file beside it
/// ("<name>.tmp.<16 hex digits>", created exclusively, never through a symbolic link, under a
/// name nobody can predict, with the permission bits `mode` less the umask: by default
/// readable by the user only), is flushed, then renamed over `path`, and the folder is
/// flushed. The folder must exist. Returns the error that stopped it (none on success); no
/// temporary file is left behind then.
std::error_code replaceFileAtomically(const std::filesystem::path& path, std::string_view text,
                                      unsigned mode = 0600);

/// Removes the temporary files that replacements of `path` interrupted by a crash left beside
/// it; nothing else.
void removeStaleReplacements(const std::filesystem::path& path);

}  // namespace corvane::platform::live
