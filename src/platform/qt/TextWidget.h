#pragma once

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>
#include <QWidget>
#include <optional>

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

}  // namespace corvane::platform::qt
