#include "platform/qt/SymbolShapes.h"

#include <QPainterPath>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>

namespace corvane::platform::qt {

namespace {

// Every shape is drawn in a box of its aspect whose height is 1, then scaled into place.
struct Shape {
    double aspect;  // width / height
    std::function<void(QPainter&, const QColor&)> draw;
};

void strokeWith(QPainter& p, const QColor& color, double width) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

// A mouse seen from above: a filled body with the two buttons parted by thin gaps.
void drawMouse(QPainter& p, const QColor& color) {
    QPainterPath body;
    body.addRoundedRect(QRectF(0.04, 0.02, 0.62, 0.96), 0.31, 0.31);
    QPainterPath gaps;
    gaps.addRect(QRectF(0.335, 0.0, 0.03, 0.42));
    gaps.addRect(QRectF(0.0, 0.40, 0.7, 0.035));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(body.subtracted(gaps));
}

// A ring with a lower-case i.
void drawInfoCircle(QPainter& p, const QColor& color) {
    strokeWith(p, color, 0.075);
    p.drawEllipse(QRectF(0.06, 0.06, 0.88, 0.88));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QPointF(0.5, 0.3), 0.065, 0.065);
    p.drawRoundedRect(QRectF(0.45, 0.42, 0.1, 0.33), 0.04, 0.04);
}

// A cog of eight teeth around a hole.
void drawGear(QPainter& p, const QColor& color) {
    constexpr int kTeeth = 8;
    QPainterPath cog;
    for (int i = 0; i < kTeeth * 4; ++i) {
        // Each tooth: two points on the outer radius, then two on the root radius.
        const double angle = (i - 0.5) * std::numbers::pi / (kTeeth * 2);
        const double radius = (i % 4 < 2) ? 0.48 : 0.36;
        const QPointF point(0.5 + radius * std::cos(angle), 0.5 + radius * std::sin(angle));
        if (i == 0) {
            cog.moveTo(point);
        } else {
            cog.lineTo(point);
        }
    }
    cog.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(0.5, 0.5), 0.15, 0.15);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(cog.subtracted(hole));
}

// A rounded rectangle with a cross in it.
void drawXmarkRectangle(QPainter& p, const QColor& color) {
    strokeWith(p, color, 0.075);
    p.drawRoundedRect(QRectF(0.05, 0.08, 1.2, 0.84), 0.14, 0.14);
    p.drawLine(QPointF(0.47, 0.32), QPointF(0.83, 0.68));
    p.drawLine(QPointF(0.83, 0.32), QPointF(0.47, 0.68));
}

const std::map<std::string, Shape>& shapes() {
    static const auto* table = new std::map<std::string, Shape>{
        {"computermouse.fill", {0.7, drawMouse}},
        {"info.circle", {1.0, drawInfoCircle}},
        {"gear", {1.0, drawGear}},
        {"xmark.rectangle", {1.3, drawXmarkRectangle}},
    };
    return *table;
}

}  // namespace

double symbolShapeAspect(const std::string& name) {
    auto it = shapes().find(name);
    return it == shapes().end() ? 0 : it->second.aspect;
}

bool drawSymbolShape(QPainter& painter, const std::string& name, const QRectF& rect,
                     const QColor& color) {
    auto it = shapes().find(name);
    if (it == shapes().end())
        return false;
    const double aspect = it->second.aspect;
    const double height = std::min(rect.height(), rect.width() / aspect);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.center().x() - height * aspect / 2, rect.center().y() - height / 2);
    painter.scale(height, height);
    it->second.draw(painter, color);
    painter.restore();
    return true;
}

}  // namespace corvane::platform::qt
