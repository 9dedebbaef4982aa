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

/// A text drawn in a font and a colour, wrapping at word boundaries to its width, or with
/// `truncates` on one line that ends in "…" where the width is too short.
class TextWidget : public QWidget {
  public:
    explicit TextWidget(QWidget* parent) : QWidget(parent) {}
    void set(QString text, QFont font, QColor color, bool truncates = false);
    const QString& text() const { return text_; }
    /// What is drawn: the text, or on one line as much of it as the width holds.
    const QString& shownText() const;

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString text_;
    QFont font_;
    QColor color_;
    bool truncates_ = false;
    mutable QString elided_;        ///< the shortened text for `elidedWidth_`
    mutable int elidedWidth_ = -1;  ///< none yet
};

}  // namespace corvane::platform::qt
