#pragma once

#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QRectF>

#include "platform/appkit/ImageBackend.h"
#include "platform/appkit/NSImage.h"

namespace corvane::platform::qt {

/// The symbols and image assets the Qt backend draws, for the live application.
class QtImages final : public ImageBackend {
  public:
    /// Symbols at the menu font's size (13 points).
    std::optional<CGSize> systemSymbolSize(const std::string& name) const override;
    std::optional<CGSize> imageAssetSize(const std::string& name) const override;
};

/// Draws `image` into `rect`: a symbol in `templateColor`, a template asset as its shape in
/// `templateColor`, any other asset in its own colours.
void drawNSImage(QPainter& painter, const NSImage& image, const QRectF& rect,
                 const QColor& templateColor);
/// `image` as an icon of its size (at twice the pixels, for sharpness) in `templateColor`.
QIcon iconFor(const NSImage& image, const QColor& templateColor);

}  // namespace corvane::platform::qt
