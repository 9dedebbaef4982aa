#include "platform/foundation/Bundle.h"

#include "platform/sim/SimWorkspace.h"

namespace corvane::platform {

Bundle& Bundle::main() {
    static auto* bundle = new Bundle(
        "/Applications/Corvane.app", std::string("com.Quillon.Corvane"),
        PlistDictionary{{"CFBundleIdentifier", "com.Quillon.Corvane"},
                        {"CFBundleName", "Corvane"},
                        {"CFBundleDisplayName", "Corvane"},
                        {"CFBundleShortVersionString", "1.0.0"},
                        {"CFBundleVersion", "1"}});
    return *bundle;
}

std::optional<Bundle> Bundle::atPath(const std::string& path) {
    return sim::SimWorkspace::shared().bundleAtPath(path);
}

std::optional<Bundle> Bundle::atURL(const URL& url) {
    if (!url.isFileURL()) return std::nullopt;
    return atPath(url.path());
}

std::optional<std::string> Bundle::infoString(const std::string& key) const {
    auto it = infoDictionary_.find(key);
    if (it == infoDictionary_.end() || it->second.string() == nullptr) return std::nullopt;
    return *it->second.string();
}

}  // namespace corvane::platform
