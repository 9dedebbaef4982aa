#include "app/launch_at_login/KVO.h"

#include "app/launch_at_login/LaunchAtLogin.h"

namespace corvane::LaunchAtLogin {

KVO& KVO::shared() {
    static auto* kvo = new KVO();
    return *kvo;
}

bool KVO::isEnabled() const {
    return LaunchAtLogin::isEnabled();
}

void KVO::setIsEnabled(bool enabled) {
    LaunchAtLogin::setIsEnabled(enabled);
}

bool KVO::respondsToSelector(std::string_view selector) const {
    return selector == "isEnabled" || selector == "setIsEnabled:";
}

}  // namespace corvane::LaunchAtLogin
