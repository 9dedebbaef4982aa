#pragma once

namespace corvane::platform::sim {

/// When `XDG_RUNTIME_DIR` is not set, sets it to a folder of the user's alone (mode 0700)
/// inside the session's folder of files, so that what needs a runtime folder (the toolkit
/// that draws the windows) makes none of its own in the temporary directory: it goes with the
/// session's folder. Call before any thread that reads the environment is made. Nothing
/// changes when the variable is set, or when the folder cannot be made.
void provideRuntimeFolder();

}  // namespace corvane::platform::sim
