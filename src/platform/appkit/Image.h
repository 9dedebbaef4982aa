#pragma once

#include <ostream>
#include <string>

namespace corvane::platform {

/// An image as the workspace hands it out: a name that says what it shows and its size in
/// points. The simulated session draws no pixels; the views render the name.
struct Image {
    std::string name;
    double width = 0;   ///< points
    double height = 0;  ///< points

    bool operator==(const Image&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Image& image) {
    return os << "Image(" << image.name << ", " << image.width << "x" << image.height << ")";
}

}  // namespace corvane::platform
