#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <optional>
#include <string>

#include "platform/ui/Environment.h"
#include "platform/ui/Style.h"

class QImage;

namespace corvane::platform::qt {

/// Creates the Qt application on first use (offscreen when no display is reachable).
void ensureQtApplication();

/// The colour a named or fixed colour shows in the light appearance.
QColor toQColor(const ui::Color& color);
/// The text colour of the environment (its foreground, or the primary label colour).
QColor foregroundColor(const ui::EnvironmentValues& env);
/// The font of the environment, one point to one pixel.
QFont toQFont(const ui::Font& font, std::optional<ui::Font::Weight> weightOverride = std::nullopt);
inline QFont environmentFont(const ui::EnvironmentValues& env) {
    return toQFont(env.font, env.fontWeight);
}

/// The picture encoded as a PNG file's bytes; none when it cannot be encoded.
std::optional<std::string> pngBytes(const QImage& image);

/// The window background of the light appearance.
QColor windowBackgroundColor();

}  // namespace corvane::platform::qt
