// The push button and the round help button of `NSButton`, drawn by hand.
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "platform/appkit/NSButton.h"
#include "platform/qt/ViewImpl.h"

namespace corvane::platform {

namespace {

/// The round help button and the push button of `NSButton`.
class ButtonView final : public QWidget {
  public:
    explicit ButtonView(NSButton& owner) : owner_(owner) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
        p.setPen(QPen(QColor(0, 0, 0, 50), 1));
        p.setBrush(pressed_ ? QColor(222, 222, 222) : QColor(255, 255, 255));
        if (owner_.bezelStyle() == NSBezelStyle::helpButton) {
            const double side = std::min(r.width(), r.height());
            const QRectF circle(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
            p.drawEllipse(circle);
            QFont f = font();
            f.setPixelSize(static_cast<int>(side * 0.6));
            f.setBold(true);
            p.setFont(f);
            p.setPen(QColor(0, 0, 0, 200));
            p.drawText(circle, Qt::AlignCenter, "?");
        } else {
            p.drawRoundedRect(r, 5, 5);
            p.setPen(QColor(0, 0, 0, 217));
            p.drawText(r, Qt::AlignCenter, QString::fromStdString(owner_.title()));
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        pressed_ = true;
        update();
        e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        e->accept();
        if (!std::exchange(pressed_, false))
            return;
        update();
        if (rect().contains(e->position().toPoint()))
            owner_.performClick();
    }

  private:
    NSButton& owner_;
    bool pressed_ = false;
};

}  // namespace

NSButton::NSButton() : NSView(makeViewImpl()) {
    impl().widget = new ButtonView(*this);
}
void NSButton::setTitle(std::string title) {
    title_ = std::move(title);
    if (impl().widget)
        impl().widget->update();
}
void NSButton::setBezelStyle(NSBezelStyle style) {
    bezelStyle_ = style;
    if (impl().widget)
        impl().widget->update();
}
void NSButton::performClick() {
    if (target_ != nullptr && !action_.empty())
        target_->performSelector(action_);
}
CGSize NSButton::intrinsicContentSize() const {
    if (bezelStyle_ == NSBezelStyle::helpButton)
        return {21, 21};
    QFontMetrics metrics(impl().widget ? impl().widget->font() : QFont());
    return {static_cast<double>(metrics.horizontalAdvance(QString::fromStdString(title_)) + 24),
            22};
}

}  // namespace corvane::platform
