#include "platform/foundation/ProcessInfo.h"

namespace corvane::platform {

std::string OperatingSystemVersion::toString() const {
    return std::to_string(majorVersion) + "." + std::to_string(minorVersion) + "." +
           std::to_string(patchVersion);
}

std::string ProcessInfo::operatingSystemVersionString() const {
    if (versionString_)
        return *versionString_;
    std::string text = "Version " + std::to_string(version_.majorVersion) + "." +
                       std::to_string(version_.minorVersion);
    if (version_.patchVersion != 0)
        text += "." + std::to_string(version_.patchVersion);
    return text + " (Simulated)";
}

ProcessInfo& ProcessInfo::processInfo() {
    static auto* info = new ProcessInfo();
    return *info;
}

}  // namespace corvane::platform
