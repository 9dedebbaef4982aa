#include "platform/foundation/ProcessInfo.h"

namespace corvane::platform {

std::string OperatingSystemVersion::toString() const {
    return std::to_string(majorVersion) + "." + std::to_string(minorVersion) + "." +
           std::to_string(patchVersion);
}

ProcessInfo& ProcessInfo::processInfo() {
    static auto* info = new ProcessInfo();
    return *info;
}

}  // namespace corvane::platform
