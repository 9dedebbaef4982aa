#include "platform/qt/TextWidget.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace corvane::platform::qt {

QSizeF measureText(const QString& text, const QFont& font, std::optional<double> width) {
    QFontMetricsF metrics(font);
    if (text.isEmpty())
        return {0, metrics.height()};
    const QRectF ideal = metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft, text);
    if (!width || !std::isfinite(*width) || *width >= ideal.width()) {
        return {std::ceil(ideal.width()), std::ceil(ideal.height())};
    }
    // Words are never broken: the narrowest a text gets is its longest word.
    double longestWord = 0;
    for (const QString& word : text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts)) {
        longestWord = std::max(longestWord, metrics.horizontalAdvance(word));
    }
    const double w = std::max(*width, std::ceil(longestWord));
    const QRectF wrapped =
        metrics.boundingRect(QRectF(0, 0, w, 1e6), Qt::AlignLeft | Qt::TextWordWrap, text);
    return {std::ceil(std::min(wrapped.width(), w)), std::ceil(wrapped.height())};
}

void TextWidget::set(QString text, QFont font, QColor color, bool truncates) {
    if (text == text_ && font == font_ && color == color_ && truncates == truncates_)
        return;
    text_ = std::move(text);
    font_ = std::move(font);
    color_ = color;
    truncates_ = truncates;
    elidedWidth_ = -1;
    update();
}

const QString& TextWidget::shownText() const {
    if (!truncates_)
        return text_;
    if (elidedWidth_ != width()) {
        elided_ = QFontMetricsF(font_).elidedText(text_, Qt::ElideRight, width());
        elidedWidth_ = width();
    }
    return elided_;
}

void TextWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font_);
    p.setPen(color_);
    p.drawText(QRectF(rect()),
               Qt::AlignLeft | Qt::AlignTop | (truncates_ ? Qt::TextSingleLine : Qt::TextWordWrap),
               shownText());
}

}  // namespace corvane::platform::qt
