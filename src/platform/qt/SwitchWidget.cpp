#include "platform/qt/SwitchWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace corvane::platform::qt {

void SwitchWidget::set(bool on, double scale, QColor accent) {
    on_ = on;
    scale_ = scale;
    accent_ = accent;
    update();
}

void SwitchWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(0.45);
    const double w = kWidth * scale_;
    const double h = kHeight * scale_;
    const QRectF track(width() / 2.0 - w / 2, height() / 2.0 - h / 2, w, h);
    p.setPen(on_ ? Qt::NoPen : QPen(QColor(0, 0, 0, 40), 1));
    p.setBrush(on_ ? accent_ : QColor(0, 0, 0, 28));
    p.drawRoundedRect(track, h / 2, h / 2);
    const double knob = h - 4 * scale_;
    const double x = on_ ? track.right() - 2 * scale_ - knob : track.left() + 2 * scale_;
    p.setPen(QPen(QColor(0, 0, 0, 50), 0.5));
    p.setBrush(pressed_ ? QColor(240, 240, 240) : QColor(255, 255, 255));
    p.drawEllipse(QRectF(x, track.top() + 2 * scale_, knob, knob));
}

void SwitchWidget::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    update();
    event->accept();
}

void SwitchWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = std::exchange(pressed_, false);
    update();
    event->accept();
    if (wasPressed && rect().contains(event->position().toPoint()) && onToggle)
        onToggle(!on_);
}

}  // namespace corvane::platform::qt
