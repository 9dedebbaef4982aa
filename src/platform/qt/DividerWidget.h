#pragma once

#include <QWidget>

namespace corvane::platform::qt {

/// A thin separator line.
class DividerWidget : public QWidget {
  public:
    explicit DividerWidget(QWidget* parent) : QWidget(parent) {}

  protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace corvane::platform::qt
