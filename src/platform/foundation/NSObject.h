#pragma once

#include <string>
#include <string_view>

namespace corvane::platform {

/// The name of an action method ("quit", "showAboutWindow"), as controls and menu items
/// carry it; empty: no action.
using Selector = std::string;

/// The root of objects that controls and menu items send actions to: an object answers
/// whether it handles a selector and performs it by name.
class NSObject {
  public:
    virtual ~NSObject() = default;
    /// Whether this object has a method for `selector`.
    virtual bool respondsToSelector(std::string_view selector) const {
        (void)selector;
        return false;
    }
    /// Performs `selector`; false when this object has no method for it.
    virtual bool performSelector(std::string_view selector) {
        (void)selector;
        return false;
    }
};

}  // namespace corvane::platform
