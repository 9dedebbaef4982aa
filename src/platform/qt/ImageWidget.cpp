#include "platform/qt/ImageWidget.h"

#include <QPainter>

#include "platform/qt/Artwork.h"

namespace corvane::platform::qt {

void ImageWidget::set(ui::ImageElement image, QFont font, QColor color, double scale) {
    image_ = std::move(image);
    font_ = std::move(font);
    color_ = color;
    scale_ = scale;
    update();
}

void ImageWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r(rect());
    if (scale_ != 1) {
        const QPointF c = r.center();
        r = QRectF(c.x() - r.width() * scale_ / 2, c.y() - r.height() * scale_ / 2,
                   r.width() * scale_, r.height() * scale_);
    }
    if (image_.source == ui::ImageElement::Source::asset) {
        drawImageAsset(p, image_.name, r);
    } else if (image_.source == ui::ImageElement::Source::icon) {
        drawIcon(p, image_.name, r);
    } else {
        QFont f = font_;
        if (image_.resizable)
            f.setPixelSize(std::max(1, static_cast<int>(r.height() * 0.8)));
        drawSystemSymbol(p, image_.name, r, f, color_);
    }
}

}  // namespace corvane::platform::qt
