#include "platform/foundation/Bundle.h"

#include "platform/foundation/BundleBackend.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<BundleBackend>& slot() {
    return backendSlot<BundleBackend>("bundle");
}

/// The application's identity, the one place where it is written: everything else (the
/// bundle identifier, the logger's subsystem, the user-defaults domain) reads it from here.
PlistDictionary mainBundleInfo() {
    return PlistDictionary{{"CFBundleIdentifier", "com.Quillon.Corvane"},
                           {"CFBundleName", "Corvane"},
                           {"CFBundleDisplayName", "Corvane"},
                           {"CFBundleShortVersionString", "1.0.0"},
                           {"CFBundleVersion", "1"}};
}

}  // namespace

void installBundleBackend(std::shared_ptr<BundleBackend> backend) {
    slot().install(std::move(backend));
}

Bundle& Bundle::main() {
    static auto* bundle = [] {
        Bundle main("/Applications/Corvane.app", std::nullopt, mainBundleInfo());
        main.setBundleIdentifier(main.infoString("CFBundleIdentifier"));
        return new Bundle(std::move(main));
    }();
    return *bundle;
}

std::optional<Bundle> Bundle::atPath(const std::string& path) {
    return slot().get().bundleAtPath(path);
}

std::optional<Bundle> Bundle::atURL(const URL& url) {
    if (!url.isFileURL())
        return std::nullopt;
    return atPath(url.path());
}

std::optional<std::string> Bundle::infoString(const std::string& key) const {
    auto it = infoDictionary_.find(key);
    if (it == infoDictionary_.end() || it->second.string() == nullptr)
        return std::nullopt;
    return *it->second.string();
}

}  // namespace corvane::platform
