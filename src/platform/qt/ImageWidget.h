#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

#include "platform/ui/View.h"

namespace corvane::platform::qt {

/// An image asset or a system symbol, drawn to fill the widget.
class ImageWidget : public QWidget {
  public:
    explicit ImageWidget(QWidget* parent) : QWidget(parent) {}
    void set(ui::ImageElement image, QFont font, QColor color, double scale);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    ui::ImageElement image_;
    QFont font_;
    QColor color_;
    double scale_ = 1;
};

}  // namespace corvane::platform::qt
