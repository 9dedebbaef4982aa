#pragma once

#include <optional>
#include <string>

#include "platform/foundation/PlistValue.h"
#include "platform/foundation/URL.h"

namespace corvane::platform {

/// An application bundle: where it lies, its identifier and its info dictionary.
class Bundle {
  public:
    Bundle() = default;
    Bundle(std::string bundlePath, std::optional<std::string> bundleIdentifier,
           PlistDictionary infoDictionary)
        : bundlePath_(std::move(bundlePath)),
          bundleIdentifier_(std::move(bundleIdentifier)),
          infoDictionary_(std::move(infoDictionary)) {}

    /// The running application's own bundle at "/Applications/Corvane.app", its identifier
    /// read from its info dictionary's "CFBundleIdentifier" (tests may change both).
    static Bundle& main();
    /// The bundle at `path` among the installed bundles (the installed `BundleBackend`), or
    /// none when nothing is installed there.
    static std::optional<Bundle> atPath(const std::string& path);
    /// The bundle at a file URL's path; none for a URL that is no file URL.
    static std::optional<Bundle> atURL(const URL& url);

    const std::string& bundlePath() const { return bundlePath_; }
    const std::optional<std::string>& bundleIdentifier() const { return bundleIdentifier_; }
    const PlistDictionary& infoDictionary() const { return infoDictionary_; }
    /// A string of the info dictionary, or none when absent or not a string.
    std::optional<std::string> infoString(const std::string& key) const;

    void setBundlePath(std::string path) { bundlePath_ = std::move(path); }
    void setBundleIdentifier(std::optional<std::string> id) { bundleIdentifier_ = std::move(id); }
    void setInfoDictionary(PlistDictionary info) { infoDictionary_ = std::move(info); }

  private:
    std::string bundlePath_;
    std::optional<std::string> bundleIdentifier_;
    PlistDictionary infoDictionary_;
};

}  // namespace corvane::platform
