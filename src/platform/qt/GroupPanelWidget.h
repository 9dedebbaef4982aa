#pragma once

#include <QWidget>

namespace corvane::platform::qt {

/// The rounded panel of a group box.
class GroupPanelWidget : public QWidget {
  public:
    explicit GroupPanelWidget(QWidget* parent) : QWidget(parent) {}

  protected:
    void paintEvent(QPaintEvent*) override;
};

}  // namespace corvane::platform::qt
