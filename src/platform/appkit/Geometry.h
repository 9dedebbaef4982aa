#pragma once

#include "platform/quartz/CGEvent.h"

namespace corvane::platform {

/// A width and a height in points.
struct CGSize {
    double width = 0;
    double height = 0;
    bool operator==(const CGSize&) const = default;
};

inline CGRect CGRectMake(double x, double y, double width, double height) {
    return CGRect{CGPoint{x, y}, width, height};
}
inline double CGRectGetMidX(const CGRect& r) {
    return r.origin.x + r.width / 2;
}
inline double CGRectGetMidY(const CGRect& r) {
    return r.origin.y + r.height / 2;
}
inline double CGRectGetMaxX(const CGRect& r) {
    return r.origin.x + r.width;
}
inline double CGRectGetMaxY(const CGRect& r) {
    return r.origin.y + r.height;
}
inline CGSize sizeOf(const CGRect& r) {
    return {r.width, r.height};
}

}  // namespace corvane::platform
