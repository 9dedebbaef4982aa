#pragma once

#include <ostream>

namespace corvane {

/// A pair of amounts on the two scroll axes, vertical first: points, or a direction of +1/-1.
struct AxisPair {
    double y = 0;  ///< vertical
    double x = 0;  ///< horizontal

    AxisPair& operator+=(AxisPair other) {
        y += other.y;
        x += other.x;
        return *this;
    }
    friend AxisPair operator+(AxisPair a, AxisPair b) { return a += b; }
    friend AxisPair operator-(AxisPair a, AxisPair b) { return {a.y - b.y, a.x - b.x}; }
    friend AxisPair operator*(double factor, AxisPair a) { return {factor * a.y, factor * a.x}; }
    bool operator==(const AxisPair&) const = default;

    friend std::ostream& operator<<(std::ostream& out, AxisPair pair) {
        return out << "(y: " << pair.y << ", x: " << pair.x << ")";
    }
};

}  // namespace corvane
