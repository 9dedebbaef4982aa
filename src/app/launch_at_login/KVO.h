#pragma once

#include "platform/foundation/KeyValueObservable.h"

namespace corvane::LaunchAtLogin {

/// The launch-at-login state for key-value observing: observers of the key "isEnabled" hear
/// before and after every change of the registration. Main thread only.
class KVO : public platform::KeyValueObservable {
  public:
    /// The observed key.
    static constexpr const char* kIsEnabledKey = "isEnabled";

    /// The instance, made on first use, never destroyed.
    static KVO& shared();

    bool isEnabled() const;
    void setIsEnabled(bool enabled);

  private:
    KVO() = default;
};

}  // namespace corvane::LaunchAtLogin
