#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRectF>
#include <QSizeF>
#include <string>

namespace corvane::platform::qt {

/// Whether the main bundle holds the image asset `name` ("Orlinde", "OrlindeNew": the
/// application's icon artwork, drawn here at any size).
bool hasImageAsset(const std::string& name);
/// Draws the asset into `rect`; false for an unknown asset (nothing drawn).
bool drawImageAsset(QPainter& painter, const std::string& name, const QRectF& rect);

/// Draws a workspace icon (which carries no pixels here): a tile with the first letter of
/// the last component of its name.
void drawIcon(QPainter& painter, const std::string& name, const QRectF& rect);

/// The size of the symbol drawn in `font`, in points; empty for an unknown symbol.
QSizeF systemSymbolSize(const std::string& name, const QFont& font);
/// Draws the symbol centred in `rect` in `color`.
void drawSystemSymbol(QPainter& painter, const std::string& name, const QRectF& rect,
                      const QFont& font, const QColor& color);

/// The symbol drawn in `font` and `color` on a transparent pixmap of its own size (a null
/// pixmap for an unknown symbol), for controls that show an icon beside their title.
QPixmap systemSymbolPixmap(const std::string& name, const QFont& font, const QColor& color);

}  // namespace corvane::platform::qt
