#pragma once

#include <QPainter>
#include <QRectF>
#include <vector>

namespace corvane::platform {
class NSToolbar;
}  // namespace corvane::platform

namespace corvane::platform::qt {

/// The height of the title row above a toolbar's items, in points.
constexpr double kTitleRowHeight = 28;

/// Where each item of `toolbar` lies in a window `width` points wide whose title bar is
/// `titlebarHeight` high: a centred row under the title row.
std::vector<QRectF> toolbarItemRects(const NSToolbar& toolbar, double width, double titlebarHeight);
/// Draws the items (image over label; the selected one on a pressed background).
void paintToolbarItems(QPainter& painter, const NSToolbar& toolbar, double width,
                       double titlebarHeight);

}  // namespace corvane::platform::qt
