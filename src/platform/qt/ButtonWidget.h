#pragma once

#include <QWidget>
#include <functional>

namespace corvane::platform::qt {

/// A push button whose label is a tree of child widgets. It draws the platform's bezel
/// (bordered, or filled with the accent colour when prominent or the default action), or
/// nothing for plain and custom styles, and reports presses and clicks.
class ButtonWidget : public QWidget {
  public:
    enum class Bezel { bordered, prominent, none };
    explicit ButtonWidget(QWidget* parent) : QWidget(parent) {}
    void setBezel(Bezel bezel) {
        bezel_ = bezel;
        update();
    }
    bool isPressed() const { return pressed_; }
    std::function<void(bool)> onPressedChanged;
    std::function<void()> onClick;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    Bezel bezel_ = Bezel::bordered;
    bool pressed_ = false;
};

}  // namespace corvane::platform::qt
