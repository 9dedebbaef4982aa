#pragma once

#include <cstddef>
#include <functional>

namespace corvane {

/// The basic scroll switches, global or of one exception.
struct ScrollBase {
    bool smooth = true;
    bool horizontalSmooth = true;
    bool reverse = false;

    bool operator==(const ScrollBase&) const = default;
};

}  // namespace corvane

template <>
struct std::hash<corvane::ScrollBase> {
    std::size_t operator()(const corvane::ScrollBase& base) const noexcept;
};
