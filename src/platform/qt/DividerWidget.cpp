#include "platform/qt/DividerWidget.h"

#include <QPainter>

namespace corvane::platform::qt {

void DividerWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 0, 26));
}

}  // namespace corvane::platform::qt
