#include "platform/appkit/NSImage.h"

#include "platform/appkit/ImageBackend.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<ImageBackend>& slot() {
    return backendSlot<ImageBackend>("image");
}

ImageBackend& backend() {
    return slot().get();
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

std::optional<NSImage> NSImage::imageWithSymbolConfiguration(
    const NSImageSymbolConfiguration& configuration) const {
    if (source_ != Source::systemSymbol)
        return std::nullopt;
    const double from = symbolConfiguration_ ? symbolConfiguration_->pointSize
                                             : NSImageSymbolConfiguration::kNaturalPointSize;
    NSImage image = *this;
    image.size_ = {size_.width * configuration.pointSize / from,
                   size_.height * configuration.pointSize / from};
    image.symbolConfiguration_ = configuration;
    return image;
}

std::optional<NSImage> NSImage::imageNamed(const std::string& name) {
    auto size = backend().imageAssetSize(name);
    if (!size)
        return std::nullopt;
    return NSImage(Source::named, name, *size);
}

}  // namespace corvane::platform
