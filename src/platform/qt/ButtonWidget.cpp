#include "platform/qt/ButtonWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

void ButtonWidget::paintEvent(QPaintEvent*) {
    if (bezel_ == Bezel::none)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(0.5);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (bezel_ == Bezel::prominent) {
        QColor fill = toQColor(ui::Color::accentColor());
        if (pressed_)
            fill = fill.darker(115);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
    } else {
        p.setPen(QPen(QColor(0, 0, 0, 45), 1));
        p.setBrush(pressed_ ? QColor(222, 222, 222) : QColor(255, 255, 255));
    }
    p.drawRoundedRect(r, 5, 5);
}

void ButtonWidget::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (!isEnabled())
        return;
    pressed_ = true;
    update();
    if (onPressedChanged)
        onPressedChanged(true);
}

void ButtonWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!std::exchange(pressed_, false))
        return;
    update();
    if (onPressedChanged)
        onPressedChanged(false);
    if (isEnabled() && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}

void ButtonWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

}  // namespace corvane::platform::qt
