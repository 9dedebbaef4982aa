#include "platform/appkit/NSImage.h"

#include "platform/InstalledBackend.h"
#include "platform/appkit/ImageBackend.h"
#include "platform/sim/SystemImages.h"

namespace corvane::platform {

namespace {

InstalledBackend<ImageBackend>& slot() {
    static auto* installed = new InstalledBackend<ImageBackend>();
    return *installed;
}

ImageBackend& backend() {
    return slot().orElse(sim::SystemImages::shared());
}

}  // namespace

void installImageBackend(std::shared_ptr<ImageBackend> backend) {
    slot().install(std::move(backend));
}

std::optional<NSImage> NSImage::imageWithSystemSymbolName(
    const std::string& name, std::optional<std::string> accessibilityDescription) {
    auto size = backend().systemSymbolSize(name);
    if (!size)
        return std::nullopt;
    NSImage image(Source::systemSymbol, name, *size);
    image.accessibilityDescription_ = std::move(accessibilityDescription);
    return image;
}

std::optional<NSImage> NSImage::imageNamed(const std::string& name) {
    auto size = backend().imageAssetSize(name);
    if (!size)
        return std::nullopt;
    return NSImage(Source::named, name, *size);
}

}  // namespace corvane::platform
