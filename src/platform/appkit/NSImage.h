#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/Geometry.h"
#include "platform/ui/Style.h"

namespace corvane::platform {

/// How a symbol is drawn: its point size (the text size it matches) and its stroke weight.
struct NSImageSymbolConfiguration {
    /// Symbols are sized for text of this many points unless configured.
    static constexpr double kNaturalPointSize = 13;

    double pointSize = kNaturalPointSize;
    ui::Font::Weight weight = ui::Font::Weight::regular;

    static NSImageSymbolConfiguration configurationWithPointSize(double pointSize,
                                                                 ui::Font::Weight weight) {
        return {pointSize, weight};
    }
    bool operator==(const NSImageSymbolConfiguration&) const = default;
};

/// An image of the system's symbol set or of the application's own image assets. It carries
/// no pixels: whoever draws it draws the symbol or asset it names at its size.
class NSImage {
  public:
    enum class Source { systemSymbol, named };

    /// The system symbol `name` at its natural size, or none when the system has no symbol
    /// of that name. `accessibilityDescription` is what assistive technology reads out.
    static std::optional<NSImage> imageWithSystemSymbolName(
        const std::string& name, std::optional<std::string> accessibilityDescription);
    /// The image asset `name` of the main bundle, or none when there is no such asset.
    static std::optional<NSImage> imageNamed(const std::string& name);

    /// This symbol drawn with `configuration`, its size scaled to the configured point size;
    /// none for an image that is no symbol.
    std::optional<NSImage> imageWithSymbolConfiguration(
        const NSImageSymbolConfiguration& configuration) const;

    Source source() const { return source_; }
    const std::string& name() const { return name_; }
    const std::optional<std::string>& accessibilityDescription() const {
        return accessibilityDescription_;
    }
    /// The size it is drawn at, in points.
    CGSize size() const { return size_; }
    void setSize(CGSize size) { size_ = size; }
    /// A template image is drawn in the colour of its surroundings (menu text, the menu
    /// bar), only its shape taken from the image.
    const std::optional<NSImageSymbolConfiguration>& symbolConfiguration() const {
        return symbolConfiguration_;
    }
    bool isTemplate() const { return template_; }
    void setTemplate(bool isTemplate) { template_ = isTemplate; }

    bool operator==(const NSImage&) const = default;

  private:
    NSImage(Source source, std::string name, CGSize size)
        : source_(source), name_(std::move(name)), size_(size) {}

    Source source_;
    std::string name_;
    std::optional<std::string> accessibilityDescription_;
    CGSize size_;
    std::optional<NSImageSymbolConfiguration> symbolConfiguration_;
    bool template_ = false;
};

}  // namespace corvane::platform
