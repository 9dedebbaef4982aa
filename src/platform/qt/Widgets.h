#pragma once

#include <QColor>
#include <QFont>
#include <QScrollArea>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ui/Style.h"
#include "platform/ui/View.h"

namespace corvane::platform::qt {

/// Measures a text: its ideal size on one line per paragraph, or wrapped to `width` points.
QSizeF measureText(const QString& text, const QFont& font, std::optional<double> width);

/// A text drawn in a font and a colour, wrapping at word boundaries to its width.
class TextWidget : public QWidget {
  public:
    explicit TextWidget(QWidget* parent) : QWidget(parent) {}
    void set(QString text, QFont font, QColor color);
    const QString& text() const { return text_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString text_;
    QFont font_;
    QColor color_;
};

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

/// A thin separator line.
class DividerWidget : public QWidget {
  public:
    explicit DividerWidget(QWidget* parent) : QWidget(parent) {}

  protected:
    void paintEvent(QPaintEvent*) override;
};

/// The rounded panel of a group box.
class GroupPanelWidget : public QWidget {
  public:
    explicit GroupPanelWidget(QWidget* parent) : QWidget(parent) {}

  protected:
    void paintEvent(QPaintEvent*) override;
};

/// One row of a list: highlighted while selected, selects itself when clicked.
class RowWidget : public QWidget {
  public:
    explicit RowWidget(QWidget* parent) : QWidget(parent) {}
    void setSelected(bool selected) {
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
};

/// A top-level window showing a popover's or a sheet's content; tells when it closes.
class PresentationWindow : public QWidget {
  public:
    PresentationWindow(QWidget* parent, bool sheet);
    std::function<void()> onClosedByUser;
    bool closingByBinding = false;

  protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool sheet_;
};

}  // namespace corvane::platform::qt
