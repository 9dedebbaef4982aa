#pragma once

#include <memory>

#include "platform/live/ThreadRuntime.h"

namespace corvane::platform::live {

/// Sets the live session up before anything else touches the platform: the thread runtime
/// with its real clock (its main thread is the caller's), the live backends of every concern
/// (`LiveDisplays`, `LiveEventStream`, `LiveWorkspace`, `LiveDesktop`, `LiveAccessibility`,
/// `LiveTasks`, `LiveAppleScript`, `LiveUpdates`, `XdgAutostart`), the user defaults in their
/// file (`FileDefaultsStore::defaultPath` of the main bundle's identifier) and the log echoed to
/// standard error. Returns the runtime, whose main work the program's event loop runs. Call
/// once.
std::shared_ptr<ThreadRuntime> installLiveSession();

}  // namespace corvane::platform::live
