#include "app/launch_at_login/Observable.h"

#include "app/launch_at_login/LaunchAtLogin.h"

namespace corvane::LaunchAtLogin {

Observable& Observable::shared() {
    static auto* observable = new Observable();
    return *observable;
}

bool Observable::isEnabled() const {
    return LaunchAtLogin::isEnabled();
}

void Observable::setIsEnabled(bool enabled) {
    LaunchAtLogin::setIsEnabled(enabled);
}

}  // namespace corvane::LaunchAtLogin
