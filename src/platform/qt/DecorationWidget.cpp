#include "platform/qt/DecorationWidget.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <variant>

#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

namespace {

QPainterPath shapePath(const ui::Shape& shape, const QRectF& rect) {
    QPainterPath path;
    if (shape.kind == ui::Shape::Kind::roundedRectangle) {
        const double r = std::min({shape.cornerRadius, rect.width() / 2, rect.height() / 2});
        path.addRoundedRect(rect, r, r);
    } else {
        path.addRect(rect);
    }
    return path;
}

QColor fillColor(const ui::ShapeStyle& style) {
    if (const auto* color = std::get_if<ui::Color>(&style))
        return toQColor(*color);
    // Materials cannot blur what lies behind here; a light translucent fill stands in.
    switch (std::get<ui::Material>(style)) {
        case ui::Material::ultraThin:
            return QColor(246, 246, 246, 200);
        case ui::Material::thin:
            return QColor(242, 242, 242, 220);
        case ui::Material::regular:
            return QColor(236, 236, 236, 235);
    }
    return {};
}

}  // namespace

DecorationWidget::DecorationWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_Hover);
}

void DecorationWidget::setFills(std::vector<Fill> fills, std::optional<ui::Shape> clip) {
    fills_ = std::move(fills);
    clip_ = clip;
    update();
}

void DecorationWidget::paintEvent(QPaintEvent*) {
    if (fills_.empty())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    if (clip_)
        p.setClipPath(shapePath(*clip_, r));
    for (const Fill& fill : fills_) {
        p.fillPath(shapePath(fill.shape, r), fillColor(fill.style));
    }
}

void DecorationWidget::mousePressEvent(QMouseEvent* event) {
    if (!onTap) {
        event->ignore();
        return;
    }
    pressed_ = true;
    event->accept();
}

void DecorationWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!onTap) {
        event->ignore();
        return;
    }
    event->accept();
    if (std::exchange(pressed_, false) && rect().contains(event->position().toPoint()) &&
        isEnabled()) {
        onTap();
    }
}

void DecorationWidget::enterEvent(QEnterEvent* event) {
    if (onHover)
        onHover(true);
    QWidget::enterEvent(event);
}

void DecorationWidget::leaveEvent(QEvent* event) {
    if (onHover)
        onHover(false);
    QWidget::leaveEvent(event);
}

}  // namespace corvane::platform::qt
