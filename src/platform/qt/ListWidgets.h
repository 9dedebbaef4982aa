#pragma once

#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <optional>

namespace corvane::platform::qt {

/// One row of a list: highlighted while selected, selects itself when clicked.
class RowWidget : public QWidget {
  public:
    explicit RowWidget(QWidget* parent) : QWidget(parent) {}
    void setSelected(bool selected) {
        if (selected == selected_)
            return;
        selected_ = selected;
        update();
    }
    std::function<void()> onClick;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    bool selected_ = false;
};

/// The scrolling frame of a list; `bordered` draws the default list's white, outlined box.
class ListFrameWidget : public QScrollArea {
  public:
    explicit ListFrameWidget(QWidget* parent);
    void setBordered(bool bordered);
    QWidget* content() const { return content_; }

  private:
    QWidget* content_;
    std::optional<bool> bordered_;
};

}  // namespace corvane::platform::qt
