#pragma once

#include <QColor>
#include <QWidget>
#include <functional>

namespace corvane::platform::qt {

/// An on/off switch drawn as a pill with a knob, at a drawing scale about its centre.
class SwitchWidget : public QWidget {
  public:
    static constexpr double kWidth = 38;   ///< points, unscaled
    static constexpr double kHeight = 22;  ///< points, unscaled

    explicit SwitchWidget(QWidget* parent) : QWidget(parent) {}
    void set(bool on, double scale, QColor accent);
    bool isOn() const { return on_; }
    std::function<void(bool)> onToggle;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool on_ = false;
    bool pressed_ = false;
    double scale_ = 1;
    QColor accent_;
};

}  // namespace corvane::platform::qt
