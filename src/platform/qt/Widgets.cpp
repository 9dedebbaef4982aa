#include "platform/qt/Widgets.h"

#include <QCloseEvent>
#include <QEnterEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "platform/qt/Artwork.h"
#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

namespace {

QPainterPath shapePath(const ui::Shape& shape, const QRectF& rect) {
    QPainterPath path;
    if (shape.kind == ui::Shape::Kind::roundedRectangle) {
        const double r = std::min({shape.cornerRadius, rect.width() / 2, rect.height() / 2});
        path.addRoundedRect(rect, r, r);
    } else {
        path.addRect(rect);
    }
    return path;
}

QColor fillColor(const ui::ShapeStyle& style) {
    if (const auto* color = std::get_if<ui::Color>(&style))
        return toQColor(*color);
    // Materials cannot blur what lies behind here; a light translucent fill stands in.
    switch (std::get<ui::Material>(style)) {
        case ui::Material::ultraThin:
            return QColor(246, 246, 246, 200);
        case ui::Material::thin:
            return QColor(242, 242, 242, 220);
        case ui::Material::regular:
            return QColor(236, 236, 236, 235);
    }
    return {};
}

}  // namespace

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

void TextWidget::set(QString text, QFont font, QColor color) {
    if (text == text_ && font == font_ && color == color_)
        return;
    text_ = std::move(text);
    font_ = std::move(font);
    color_ = color;
    update();
}

void TextWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font_);
    p.setPen(color_);
    p.drawText(QRectF(rect()), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text_);
}

void ImageWidget::set(ui::ImageElement image, QFont font, QColor color, double scale) {
    image_ = std::move(image);
    font_ = std::move(font);
    color_ = color;
    scale_ = scale;
    update();
}

void ImageWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r(rect());
    if (scale_ != 1) {
        const QPointF c = r.center();
        r = QRectF(c.x() - r.width() * scale_ / 2, c.y() - r.height() * scale_ / 2,
                   r.width() * scale_, r.height() * scale_);
    }
    if (image_.source == ui::ImageElement::Source::asset) {
        drawImageAsset(p, image_.name, r);
    } else if (image_.source == ui::ImageElement::Source::icon) {
        drawIcon(p, image_.name, r);
    } else {
        QFont f = font_;
        if (image_.resizable)
            f.setPixelSize(std::max(1, static_cast<int>(r.height() * 0.8)));
        drawSystemSymbol(p, image_.name, r, f, color_);
    }
}

void SwitchWidget::set(bool on, double scale, QColor accent) {
    on_ = on;
    scale_ = scale;
    accent_ = accent;
    update();
}

void SwitchWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(0.45);
    const double w = kWidth * scale_;
    const double h = kHeight * scale_;
    const QRectF track(width() / 2.0 - w / 2, height() / 2.0 - h / 2, w, h);
    p.setPen(on_ ? Qt::NoPen : QPen(QColor(0, 0, 0, 40), 1));
    p.setBrush(on_ ? accent_ : QColor(0, 0, 0, 28));
    p.drawRoundedRect(track, h / 2, h / 2);
    const double knob = h - 4 * scale_;
    const double x = on_ ? track.right() - 2 * scale_ - knob : track.left() + 2 * scale_;
    p.setPen(QPen(QColor(0, 0, 0, 50), 0.5));
    p.setBrush(pressed_ ? QColor(240, 240, 240) : QColor(255, 255, 255));
    p.drawEllipse(QRectF(x, track.top() + 2 * scale_, knob, knob));
}

void SwitchWidget::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    update();
    event->accept();
}

void SwitchWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool wasPressed = std::exchange(pressed_, false);
    update();
    event->accept();
    if (wasPressed && rect().contains(event->position().toPoint()) && onToggle)
        onToggle(!on_);
}

void ButtonWidget::paintEvent(QPaintEvent*) {
    if (bezel_ == Bezel::none)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(0.5);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (bezel_ == Bezel::prominent) {
        QColor fill = toQColor(ui::Color::accentColor());
        if (pressed_)
            fill = fill.darker(115);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
    } else {
        p.setPen(QPen(QColor(0, 0, 0, 45), 1));
        p.setBrush(pressed_ ? QColor(222, 222, 222) : QColor(255, 255, 255));
    }
    p.drawRoundedRect(r, 5, 5);
}

void ButtonWidget::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (!isEnabled())
        return;
    pressed_ = true;
    update();
    if (onPressedChanged)
        onPressedChanged(true);
}

void ButtonWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!std::exchange(pressed_, false))
        return;
    update();
    if (onPressedChanged)
        onPressedChanged(false);
    if (isEnabled() && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}

void ButtonWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

DecorationWidget::DecorationWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_Hover);
}

void DecorationWidget::setFills(std::vector<Fill> fills, std::optional<ui::Shape> clip) {
    fills_ = std::move(fills);
    clip_ = clip;
    update();
}

void DecorationWidget::paintEvent(QPaintEvent*) {
    if (fills_.empty())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    if (clip_)
        p.setClipPath(shapePath(*clip_, r));
    for (const Fill& fill : fills_) {
        p.fillPath(shapePath(fill.shape, r), fillColor(fill.style));
    }
}

void DecorationWidget::mousePressEvent(QMouseEvent* event) {
    if (!onTap) {
        event->ignore();
        return;
    }
    pressed_ = true;
    event->accept();
}

void DecorationWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!onTap) {
        event->ignore();
        return;
    }
    event->accept();
    if (std::exchange(pressed_, false) && rect().contains(event->position().toPoint()) &&
        isEnabled()) {
        onTap();
    }
}

void DecorationWidget::enterEvent(QEnterEvent* event) {
    if (onHover)
        onHover(true);
    QWidget::enterEvent(event);
}

void DecorationWidget::leaveEvent(QEvent* event) {
    if (onHover)
        onHover(false);
    QWidget::leaveEvent(event);
}

void DividerWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 0, 26));
}

void GroupPanelWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0, 20), 1));
    p.setBrush(QColor(0, 0, 0, 10));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

void RowWidget::paintEvent(QPaintEvent*) {
    if (!selected_)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(toQColor(ui::Color::accentColor().opacity(0.25)));
    p.drawRoundedRect(QRectF(rect()).adjusted(2, 0, -2, 0), 4, 4);
}

void RowWidget::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (onClick)
        onClick();
}

ListFrameWidget::ListFrameWidget(QWidget* parent) : QScrollArea(parent), content_(new QWidget()) {
    setWidget(content_);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    content_->setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
}

void ListFrameWidget::setBordered(bool bordered) {
    setFrameShape(bordered ? QFrame::Box : QFrame::NoFrame);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, bordered ? QColor(255, 255, 255) : QColor(0, 0, 0, 0));
    viewport()->setPalette(pal);
    viewport()->setAutoFillBackground(bordered);
    setStyleSheet(bordered ? "QScrollArea { border: 1px solid rgba(0,0,0,40); }" : "");
}

PresentationWindow::PresentationWindow(QWidget* parent, bool sheet)
    : QWidget(parent,
              sheet ? (Qt::Sheet | Qt::FramelessWindowHint) : (Qt::Tool | Qt::FramelessWindowHint)),
      sheet_(sheet) {
    if (sheet)
        setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_TranslucentBackground);
}

void PresentationWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0, 50), 1));
    p.setBrush(windowBackgroundColor());
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), sheet_ ? 10 : 8,
                      sheet_ ? 10 : 8);
}

void PresentationWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PresentationWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!closingByBinding && onClosedByUser)
        onClosedByUser();
}

}  // namespace corvane::platform::qt
