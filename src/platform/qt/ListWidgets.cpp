#include "platform/qt/ListWidgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

void RowWidget::paintEvent(QPaintEvent*) {
    if (!selected_)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(toQColor(ui::Color::accentColor().opacity(0.25)));
    p.drawRoundedRect(QRectF(rect()).adjusted(2, 0, -2, 0), 4, 4);
}

void RowWidget::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (onClick)
        onClick();
}

ListFrameWidget::ListFrameWidget(QWidget* parent) : QScrollArea(parent), content_(new QWidget()) {
    setWidget(content_);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    content_->setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
}

void ListFrameWidget::setBordered(bool bordered) {
    // A new style sheet polishes every row widget again.
    if (bordered_ == bordered)
        return;
    bordered_ = bordered;
    setFrameShape(bordered ? QFrame::Box : QFrame::NoFrame);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, bordered ? QColor(255, 255, 255) : QColor(0, 0, 0, 0));
    viewport()->setPalette(pal);
    viewport()->setAutoFillBackground(bordered);
    setStyleSheet(bordered ? "QScrollArea { border: 1px solid rgba(0,0,0,40); }" : "");
}

}  // namespace corvane::platform::qt
