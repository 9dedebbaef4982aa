#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ui/View.h"

namespace corvane::platform::qt {

/// Draws backgrounds (colours and materials, each in its shape, clipped to an optional
/// shape) behind its children, and takes taps and hovering for them.
class DecorationWidget : public QWidget {
  public:
    explicit DecorationWidget(QWidget* parent);
    struct Fill {
        ui::ShapeStyle style;
        ui::Shape shape;
    };
    void setFills(std::vector<Fill> fills, std::optional<ui::Shape> clip);
    std::function<void()> onTap;
    int tapCount = 1;
    std::function<void(bool)> onHover;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    std::vector<Fill> fills_;
    std::optional<ui::Shape> clip_;
    bool pressed_ = false;
};

}  // namespace corvane::platform::qt
