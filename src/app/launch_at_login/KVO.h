#pragma once

#include <string_view>

#include "platform/foundation/KeyValueObserving.h"
#include "platform/foundation/NSObject.h"

namespace corvane::LaunchAtLogin {

/// The launch-at-login state as a platform object for key-value observing: observers of the
/// key "isEnabled" hear before and after every change of the registration, and the object
/// answers to the selectors "isEnabled" and "setIsEnabled:". Main thread only.
class KVO : public platform::NSObject, public platform::KeyValueObservable {
  public:
    /// The observed key.
    static constexpr const char* kIsEnabledKey = "isEnabled";

    /// The instance, made on first use, never destroyed.
    static KVO& shared();

    bool isEnabled() const;
    void setIsEnabled(bool enabled);

    bool respondsToSelector(std::string_view selector) const override;

  private:
    KVO() = default;
};

}  // namespace corvane::LaunchAtLogin
