#pragma once

#include <cstdint>
#include <limits>
#include <optional>

namespace corvane::platform::ui {

/// An unbounded length, as in `frame(maxWidth: .infinity)`.
inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

enum class Axis { horizontal, vertical };

enum class HorizontalAlignment { leading, center, trailing };
enum class VerticalAlignment { top, center, bottom };

/// Where content sits inside a larger frame.
struct Alignment {
    HorizontalAlignment horizontal = HorizontalAlignment::center;
    VerticalAlignment vertical = VerticalAlignment::center;

    static constexpr Alignment center() { return {}; }
    static constexpr Alignment leading() {
        return {HorizontalAlignment::leading, VerticalAlignment::center};
    }
    static constexpr Alignment trailing() {
        return {HorizontalAlignment::trailing, VerticalAlignment::center};
    }
    static constexpr Alignment top() {
        return {HorizontalAlignment::center, VerticalAlignment::top};
    }
    static constexpr Alignment bottom() {
        return {HorizontalAlignment::center, VerticalAlignment::bottom};
    }
    static constexpr Alignment topLeading() {
        return {HorizontalAlignment::leading, VerticalAlignment::top};
    }
    bool operator==(const Alignment&) const = default;
};

/// The four edges, and sets of them.
enum class Edge : std::uint8_t { top = 1, leading = 2, bottom = 4, trailing = 8 };

/// A set of edges (`Edges::all`, `Edges::horizontal`, ...).
struct Edges {
    std::uint8_t bits = 0;

    static constexpr Edges of(Edge e) { return {static_cast<std::uint8_t>(e)}; }
    static constexpr Edges all() { return {15}; }
    static constexpr Edges horizontal() { return {2 | 8}; }
    static constexpr Edges vertical() { return {1 | 4}; }
    static constexpr Edges none() { return {0}; }
    constexpr bool contains(Edge e) const { return (bits & static_cast<std::uint8_t>(e)) != 0; }
    bool operator==(const Edges&) const = default;
};

/// Lengths in points at each edge.
struct EdgeInsets {
    double top = 0;
    double leading = 0;
    double bottom = 0;
    double trailing = 0;

    static constexpr EdgeInsets of(Edges edges, double length) {
        return {edges.contains(Edge::top) ? length : 0, edges.contains(Edge::leading) ? length : 0,
                edges.contains(Edge::bottom) ? length : 0,
                edges.contains(Edge::trailing) ? length : 0};
    }
    bool operator==(const EdgeInsets&) const = default;
};

/// The platform's standard padding, in points, used by `padding()` without a length.
inline constexpr double kDefaultPadding = 16;
/// The platform's standard spacing between the children of a stack, in points.
inline constexpr double kDefaultSpacing = 8;

/// A flexible frame: bounds and ideal lengths in points, any of them absent.
struct FlexibleFrame {
    std::optional<double> minWidth = std::nullopt;
    std::optional<double> idealWidth = std::nullopt;
    std::optional<double> maxWidth = std::nullopt;
    std::optional<double> minHeight = std::nullopt;
    std::optional<double> idealHeight = std::nullopt;
    std::optional<double> maxHeight = std::nullopt;
    Alignment alignment = Alignment::center();
    bool operator==(const FlexibleFrame&) const = default;
};

/// How a resizable image fills the space it is offered.
enum class ContentMode { fit, fill };

}  // namespace corvane::platform::ui
