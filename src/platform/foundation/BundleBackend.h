#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Bundle.h"

namespace corvane::platform {

/// Where installed bundles are found.
class BundleBackend {
  public:
    virtual ~BundleBackend() = default;
    /// The bundle installed at `path` (trailing slashes ignored), or none.
    virtual std::optional<Bundle> bundleAtPath(const std::string& path) const = 0;
};

/// Installs the bundle backend of the process.
void installBundleBackend(std::shared_ptr<BundleBackend> backend);

}  // namespace corvane::platform
