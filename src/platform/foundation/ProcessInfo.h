#pragma once

#include <compare>
#include <optional>
#include <string>

namespace corvane::platform {

/// An operating-system version, major.minor.patch.
struct OperatingSystemVersion {
    int majorVersion = 0;
    int minorVersion = 0;
    int patchVersion = 0;

    auto operator<=>(const OperatingSystemVersion&) const = default;
    /// "15.1.0".
    std::string toString() const;
};

/// Facts about the running process and the system it runs on. The simulated session reports
/// macOS 15.1.0 until a test sets another version, so that both sides of every
/// version-dependent path can be run.
class ProcessInfo {
  public:
    /// The process's instance, created on first use, never destroyed.
    static ProcessInfo& processInfo();

    /// This process's identifier.
    int processIdentifier() const;
    /// The version of the running operating system.
    OperatingSystemVersion operatingSystemVersion() const { return version_; }
    /// Whether the running system is `version` or later.
    bool isOperatingSystemAtLeastVersion(OperatingSystemVersion version) const {
        return version_ >= version;
    }
    /// The simulated session's knob: the version the system reports from now on.
    void setOperatingSystemVersion(OperatingSystemVersion version) { version_ = version; }

    /// The system's version as people read it, for reports: the simulated session writes
    /// "Version 15.1 (Simulated)" from `operatingSystemVersion` (the patch only when not 0);
    /// the live application the desktop's own product name.
    std::string operatingSystemVersionString() const;
    /// Replaces that text (none: formed from the version again).
    void setOperatingSystemVersionString(std::optional<std::string> text) {
        versionString_ = std::move(text);
    }

  private:
    ProcessInfo() = default;
    OperatingSystemVersion version_{15, 1, 0};
    std::optional<std::string> versionString_;
};

/// The availability check of the running system: whether it is macOS `major`.`minor`.`patch`
/// or later.
inline bool isAvailable(int major, int minor = 0, int patch = 0) {
    return ProcessInfo::processInfo().isOperatingSystemAtLeastVersion({major, minor, patch});
}

}  // namespace corvane::platform
