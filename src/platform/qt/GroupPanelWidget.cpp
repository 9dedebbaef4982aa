#include "platform/qt/GroupPanelWidget.h"

#include <QPainter>

namespace corvane::platform::qt {

void GroupPanelWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0, 20), 1));
    p.setBrush(QColor(0, 0, 0, 10));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

}  // namespace corvane::platform::qt
