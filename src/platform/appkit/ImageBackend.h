#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/Geometry.h"

namespace corvane::platform {

/// Which symbols and image assets exist, and their natural sizes: the simulated session's
/// catalogue (`sim::SystemImages`) or what the Qt backend draws.
class ImageBackend {
  public:
    virtual ~ImageBackend() = default;
    /// The natural size of the system symbol `name` in points, or none when there is none.
    virtual std::optional<CGSize> systemSymbolSize(const std::string& name) const = 0;
    /// The natural size of the image asset `name` in points, or none when there is none.
    virtual std::optional<CGSize> imageAssetSize(const std::string& name) const = 0;
};

/// Installs the images' backend of the process.
void installImageBackend(std::shared_ptr<ImageBackend> backend);

}  // namespace corvane::platform
