#include "platform/qt/Artwork.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <map>

#include "platform/qt/SymbolShapes.h"

namespace corvane::platform::qt {

namespace {

// The application icon: a rounded tile in a blue-violet gradient holding a mouse whose
// wheel sends three soft waves upwards, the picture of smooth scrolling.
void drawAppIcon(QPainter& p, const QRectF& r, bool fresh) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double s = std::min(r.width(), r.height());
    const QRectF tile(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
    const QRectF body = tile.adjusted(s * 0.06, s * 0.06, -s * 0.06, -s * 0.06);
    QLinearGradient bg(body.topLeft(), body.bottomRight());
    bg.setColorAt(0, fresh ? QColor(88, 86, 214) : QColor(64, 120, 230));
    bg.setColorAt(1, fresh ? QColor(40, 160, 230) : QColor(30, 70, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(body, s * 0.2, s * 0.2);

    // The mouse.
    const QRectF mouse(tile.center().x() - s * 0.16, tile.top() + s * 0.38, s * 0.32, s * 0.46);
    p.setBrush(QColor(255, 255, 255, 240));
    p.drawRoundedRect(mouse, s * 0.16, s * 0.16);
    p.setPen(QPen(QColor(88, 86, 214, 160), s * 0.015));
    p.drawLine(QPointF(mouse.center().x(), mouse.top()),
               QPointF(mouse.center().x(), mouse.top() + mouse.height() * 0.38));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(88, 86, 214));
    p.drawRoundedRect(
        QRectF(mouse.center().x() - s * 0.025, mouse.top() + s * 0.06, s * 0.05, s * 0.1),
        s * 0.025, s * 0.025);

    // Three waves above it, fading upwards.
    for (int i = 0; i < 3; ++i) {
        QPainterPath wave;
        const double y = mouse.top() - s * (0.07 + 0.075 * i);
        const double half = s * (0.12 + 0.04 * i);
        wave.moveTo(tile.center().x() - half, y + s * 0.03);
        wave.quadTo(tile.center().x(), y - s * 0.04, tile.center().x() + half, y + s * 0.03);
        p.setPen(QPen(QColor(255, 255, 255, 220 - 60 * i), s * 0.035, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
    }
    p.restore();
}

// System symbols as glyphs of the text font.
const std::map<std::string, QString>& symbolGlyphs() {
    static const auto* glyphs = new std::map<std::string, QString>{
        {"command", QString::fromUtf8("\u2318")},
        {"control", QString::fromUtf8("\u2303")},
        {"option", QString::fromUtf8("\u2325")},
        {"plus", QString::fromUtf8("+")},
        {"minus", QString::fromUtf8("\u2212")},
        {"gearshape", QString::fromUtf8("\u2699")},
        {"gearshape.fill", QString::fromUtf8("\u2699")},
        {"checkmark.circle.fill", QString::fromUtf8("\u2714")},
        {"slider.horizontal.3", QString::fromUtf8("\u2261")},
        {"minus.circle", QString::fromUtf8("\u2296")},
        {"arrow.2.circlepath", QString::fromUtf8("\u21BB")},
        {"questionmark", QString::fromUtf8("?")},
    };
    return *glyphs;
}

}  // namespace

bool hasImageAsset(const std::string& name) {
    return name == "Orlinde" || name == "OrlindeNew";
}

bool drawImageAsset(QPainter& painter, const std::string& name, const QRectF& rect) {
    if (!hasImageAsset(name))
        return false;
    drawAppIcon(painter, rect, name == "OrlindeNew");
    return true;
}

void drawIcon(QPainter& painter, const std::string& name, const QRectF& rect) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = std::min(rect.width(), rect.height());
    const QRectF tile(rect.center().x() - s / 2, rect.center().y() - s / 2, s, s);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 1));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawRoundedRect(tile.adjusted(1, 1, -1, -1), s * 0.22, s * 0.22);
    QString label = QString::fromStdString(name);
    label = label.section('/', -1).section('.', 0, 0);
    QFont f("DejaVu Sans");
    f.setPixelSize(std::max(1, static_cast<int>(s * 0.5)));
    f.setBold(true);
    painter.setFont(f);
    painter.setPen(QColor(90, 90, 100));
    painter.drawText(tile, Qt::AlignCenter, label.left(1).toUpper());
    painter.restore();
}

QSizeF systemSymbolSize(const std::string& name, const QFont& font) {
    if (const double aspect = symbolShapeAspect(name); aspect > 0) {
        const double height = QFontMetricsF(font).height();
        return {height * aspect, height};
    }
    auto it = symbolGlyphs().find(name);
    if (it == symbolGlyphs().end())
        return {};
    QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(it->second), metrics.height()};
}

void drawSystemSymbol(QPainter& painter, const std::string& name, const QRectF& rect,
                      const QFont& font, const QColor& color) {
    if (drawSymbolShape(painter, name, rect, color))
        return;
    auto it = symbolGlyphs().find(name);
    if (it == symbolGlyphs().end())
        return;
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont f = font;
    // A resized symbol fills its frame.
    QFontMetricsF metrics(font);
    if (metrics.height() > 0 && rect.height() > 0) {
        const double factor = rect.height() / metrics.height();
        if (factor < 0.95 || factor > 1.05)
            f.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * factor)));
    }
    painter.setFont(f);
    painter.setPen(color);
    painter.drawText(rect, Qt::AlignCenter, it->second);
    painter.restore();
}

QPixmap systemSymbolPixmap(const std::string& name, const QFont& font, const QColor& color) {
    const QSizeF size = systemSymbolSize(name, font);
    if (size.isEmpty())
        return {};
    QPixmap pixmap(size.toSize().expandedTo(QSize(1, 1)));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawSystemSymbol(painter, name, QRectF(QPointF(0, 0), size), font, color);
    return pixmap;
}

}  // namespace corvane::platform::qt
