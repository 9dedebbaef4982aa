#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/servicemanagement/LoginItemBackend.h"

namespace corvane::platform::live {

/// The live login items, kept as the desktop keeps them: one XDG autostart entry
/// (`<name>.desktop` in the autostart folder) per registration, naming this program. The
/// main application's entry is named after its identifier, an older login item's after the
/// identifier it is enabled by; the user's jobs are the autostart entries there. An entry the
/// user switched off in the desktop's settings ("Hidden=true") counts as not registered, and so
/// does one that is not a regular file (a FIFO put at its name): entries are read without
/// blocking, and one that cannot be read is skipped with a log line. An entry is replaced
/// atomically (`replaceFileAtomically`), temporaries that an interrupted
/// write left beside it removed first.
class XdgAutostart final : public LoginItemBackend {
  public:
    /// `folder`: where the entries go; `program`: the executable they start (none when
    /// unknown: the main application cannot be registered then); `mainAppName`: the name of
    /// the main application's entry; `displayName`: the "Name" the desktop shows.
    XdgAutostart(std::filesystem::path folder, std::optional<std::string> program,
                 std::string mainAppName, std::string displayName);

    /// `$XDG_CONFIG_HOME/autostart`, or `~/.config/autostart` when that is not set.
    static std::filesystem::path defaultFolder();
    /// This process's executable, or none when it cannot be read.
    static std::optional<std::string> currentProgram();

    SMAppService::Status mainAppStatus() const override;
    void registerMainApp() override;
    void unregisterMainApp() override;
    bool setLoginItemEnabled(const std::string& identifier, bool enabled) override;
    std::optional<std::vector<PlistValue>> userJobDictionaries() const override;

    /// The entry file of `name`.
    std::filesystem::path entryPath(const std::string& name) const;

  private:
    /// Writes the entry of `name` (replacing what is there); throws `SMAppServiceError`.
    void writeEntry(const std::string& name) const;
    /// Removes the entry of `name` (none is fine); throws `SMAppServiceError`.
    void removeEntry(const std::string& name) const;

    std::filesystem::path folder_;
    std::optional<std::string> program_;
    std::string mainAppName_;
    std::string displayName_;
};

}  // namespace corvane::platform::live
