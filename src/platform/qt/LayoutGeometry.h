#pragma once

#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/qt/Box.h"
#include "platform/ui/View.h"

/// Arithmetic of the layout: sizes and proposals along and across a stack's axis, alignment
/// offsets and rounding to whole pixels. Lengths in points.
namespace corvane::platform::ui::geometry {

inline double alongOf(const QSizeF& s, Axis a) {
    return a == Axis::horizontal ? s.width() : s.height();
}
inline double acrossOf(const QSizeF& s, Axis a) {
    return a == Axis::horizontal ? s.height() : s.width();
}
inline std::optional<double> alongOf(const Proposal& p, Axis a) {
    return a == Axis::horizontal ? p.width : p.height;
}
inline std::optional<double> acrossOf(const Proposal& p, Axis a) {
    return a == Axis::horizontal ? p.height : p.width;
}
inline Proposal proposalOn(Axis a, std::optional<double> along, std::optional<double> across) {
    return a == Axis::horizontal ? Proposal{along, across} : Proposal{across, along};
}
inline QSizeF sizeOn(Axis a, double along, double across) {
    return a == Axis::horizontal ? QSizeF(along, across) : QSizeF(across, along);
}
inline bool finite(std::optional<double> v) {
    return v && std::isfinite(*v);
}

inline double offsetFor(HorizontalAlignment a, double free) {
    switch (a) {
        case HorizontalAlignment::leading:
            return 0;
        case HorizontalAlignment::center:
            return free / 2;
        case HorizontalAlignment::trailing:
            return free;
    }
    return 0;
}
inline double offsetFor(VerticalAlignment a, double free) {
    switch (a) {
        case VerticalAlignment::top:
            return 0;
        case VerticalAlignment::center:
            return free / 2;
        case VerticalAlignment::bottom:
            return free;
    }
    return 0;
}
inline QRectF alignIn(const QRectF& outer, const QSizeF& size, Alignment a) {
    return QRectF(outer.x() + offsetFor(a.horizontal, outer.width() - size.width()),
                  outer.y() + offsetFor(a.vertical, outer.height() - size.height()), size.width(),
                  size.height());
}
inline QRect pixelRect(const QRectF& r) {
    const int x = static_cast<int>(std::lround(r.x()));
    const int y = static_cast<int>(std::lround(r.y()));
    const int right = static_cast<int>(std::lround(r.x() + r.width()));
    const int bottom = static_cast<int>(std::lround(r.y() + r.height()));
    return QRect(x, y, std::max(0, right - x), std::max(0, bottom - y));
}
inline std::optional<double> shrink(std::optional<double> v, double by) {
    if (!v)
        return v;
    return std::max(0.0, *v - by);
}
inline double clampLength(double v, double lo, double hi) {
    return std::max(lo, std::min(v, hi));
}

}  // namespace corvane::platform::ui::geometry
