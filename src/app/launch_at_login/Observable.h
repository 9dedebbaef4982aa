#pragma once

#include "platform/combine/Publisher.h"

namespace corvane::LaunchAtLogin {

/// The launch-at-login state as an observable object, for views: its will-change
/// notification goes out before every change of the registration. Main thread only.
class Observable : public platform::ObservableObject {
  public:
    /// The instance, made on first use, never destroyed.
    static Observable& shared();

    bool isEnabled() const;
    void setIsEnabled(bool enabled);

  private:
    Observable() = default;
};

}  // namespace corvane::LaunchAtLogin
