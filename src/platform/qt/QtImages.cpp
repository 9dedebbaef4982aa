#include "platform/qt/QtImages.h"

#include <QImage>
#include <QPixmap>
#include <cmath>

#include "platform/qt/Artwork.h"

namespace corvane::platform::qt {

namespace {

constexpr double kAssetSide = 512;  // points: the icon artwork is drawn at any size

QFont symbolFont(double pixelSize) {
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    return font;
}

}  // namespace

std::optional<CGSize> QtImages::systemSymbolSize(const std::string& name) const {
    const QSizeF size = qt::systemSymbolSize(name, symbolFont(13));
    if (size.isEmpty())
        return std::nullopt;
    return CGSize{size.width(), size.height()};
}

std::optional<CGSize> QtImages::imageAssetSize(const std::string& name) const {
    if (!hasImageAsset(name))
        return std::nullopt;
    return CGSize{kAssetSide, kAssetSide};
}

void drawNSImage(QPainter& painter, const NSImage& image, const QRectF& rect,
                 const QColor& templateColor) {
    if (image.source() == NSImage::Source::systemSymbol) {
        drawSystemSymbol(painter, image.name(), rect, symbolFont(rect.height()), templateColor);
        return;
    }
    if (!image.isTemplate()) {
        drawImageAsset(painter, image.name(), rect);
        return;
    }
    // A template keeps only the asset's shape, filled with the surrounding colour.
    const qreal scale = 2;
    QImage shape((rect.size() * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter p(&shape);
        p.scale(scale, scale);
        drawImageAsset(p, image.name(), QRectF(QPointF(), rect.size()));
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(QRectF(QPointF(), rect.size()), templateColor);
    }
    painter.drawImage(rect, shape);
}

QIcon iconFor(const NSImage& image, const QColor& templateColor) {
    const QSizeF size(image.size().width, image.size().height);
    QPixmap pixmap((size * 2).toSize());
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawNSImage(painter, image, QRectF(QPointF(), size), templateColor);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace corvane::platform::qt
