#pragma once

#include <QRectF>
#include <QWidget>

namespace corvane::platform {
class NSWindow;
}  // namespace corvane::platform

namespace corvane::platform::qt {

/// The top-level widget of a window: frameless, it draws the window's own chrome (rounded
/// frame, title bar, window buttons, title) and closes the window from its close button.
class WindowWidget final : public QWidget {
  public:
    explicit WindowWidget(NSWindow& owner);
    NSWindow& owner() { return owner_; }
    double titlebarHeight = 0;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QRectF closeButton() const;
    NSWindow& owner_;
};

}  // namespace corvane::platform::qt
