#pragma once

#include <string>

#include "platform/combine/AnyPublisher.h"
#include "platform/log/OSLog.h"

/// Registers the application as a login item of the user, or removes that registration, and
/// tells whether it is registered: through the login service of the main application from
/// macOS 13 on, through a login item named by `helperIdentifier()` before. The registration
/// is kept by the system; nothing is stored here. Main thread only.
namespace corvane::LaunchAtLogin {

/// The main bundle's identifier (or "com.Quillon.Corvane" without one) followed by
/// "-LaunchAtLoginHelper", formed on first use: the login item the registration uses before
/// macOS 13.
const std::string& helperIdentifier();

/// The component's own logger, category "main".
const platform::OSLog& logger();

/// Whether the application is registered to launch at login: from macOS 13 on, exactly when
/// the main application's login service is enabled (awaiting approval is not); before, when
/// the user's first job labelled `helperIdentifier()` has "OnDemand" true.
bool isEnabled();

/// Registers (true) or unregisters (false). Observers of `Observable` and `KVO` hear of the
/// change before and (`KVO`) after it, and `publisher()` receives `enabled`, also when the
/// registration failed: a failure is logged ("Failed to enable launch at login: ..."), not
/// reported to the caller. Enabling an enabled registration unregisters it first.
void setIsEnabled(bool enabled);

/// Every value assigned to `isEnabled`, after the registration state at its first use.
platform::AnyPublisher<bool> publisher();

}  // namespace corvane::LaunchAtLogin
