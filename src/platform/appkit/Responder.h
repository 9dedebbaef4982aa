#pragma once

#include <string_view>

#include "platform/appkit/Event.h"

namespace corvane::platform {

/// Something that handles events and actions (standard edit actions such as "paste:",
/// "copy:", "cut:", "selectAll:").
class NSResponder {
  public:
    virtual ~NSResponder() = default;
    /// Performs `action` when this responder supports it; false when it does not.
    virtual bool tryToPerform(std::string_view action) {
        (void)action;
        return false;
    }
    virtual void keyDown(const NSEvent& event) { (void)event; }
};

}  // namespace corvane::platform
