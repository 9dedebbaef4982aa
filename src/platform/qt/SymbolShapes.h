#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <string>

namespace corvane::platform::qt {

/// The width over the height of the symbol `name` drawn as a vector shape ("computermouse.fill",
/// "info.circle", "gear", "xmark.rectangle"); 0 for a symbol not drawn as a shape.
double symbolShapeAspect(const std::string& name);
/// Draws the shape of symbol `name` as large as fits, centred in `rect`, in `color`; false
/// (nothing drawn) for a symbol not drawn as a shape.
bool drawSymbolShape(QPainter& painter, const std::string& name, const QRectF& rect,
                     const QColor& color);

}  // namespace corvane::platform::qt
