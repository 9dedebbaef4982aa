#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/Geometry.h"

namespace corvane::platform {

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
    bool template_ = false;
};

}  // namespace corvane::platform
