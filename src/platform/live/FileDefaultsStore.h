#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/foundation/UserDefaults.h"
#include "platform/live/DefaultsFile.h"

namespace corvane::platform::live {

/// Keeps the domain in one JSON file (`DefaultsFile`) that is replaced atomically
/// (`replaceFileAtomically`), so that a crash mid-write never leaves a broken file. Temporary
/// files of saves that a crash interrupted are removed at load. The first save that fails (its
/// folder cannot be made, the file cannot be written) is logged with its reason, once.
///
/// Nothing stored is lost to damage: entries it cannot read are written back as they stood,
/// and a file it cannot read at all is kept beside it as "<file>.unreadable" (or ".unreadable.N"
/// when that is taken) before the first write replaces it, with one log line saying so.
class FileDefaultsStore final : public DefaultsStore {
  public:
    /// Files larger than this are not read (16 MiB; a settings document is a few hundred
    /// bytes).
    static constexpr std::size_t kMaxFileBytes = std::size_t{16} << 20;

    explicit FileDefaultsStore(std::string path) : path_(std::move(path)) {}
    PlistDictionary load() override;
    bool persist(const PlistDictionary& domain) override;
    std::string location() const override { return path_; }

    /// `$XDG_CONFIG_HOME/corvane/<domain>.plist.json`, or under `~/.config` without it.
    static std::string defaultPath(const std::string& domain);

  private:
    /// Copies the unreadable file beside itself; false when that failed.
    bool keepUnreadableFile() const;
    bool replaceFile(const std::string& text) const;
    /// Logs a failed save with `reason`, the first time only.
    void reportWriteFailure(const std::string& reason) const;

    std::string path_;
    std::vector<DefaultsFile::UnreadableEntry> unreadable_;
    bool keepBeforeWrite_ = false;  ///< the file could not be read at all and is not kept yet
    mutable bool reportedKeepFailure_ = false;
    mutable bool reportedWriteFailure_ = false;
};

}  // namespace corvane::platform::live
