#pragma once

namespace corvane::platform {

/// Plays the system's alert sound.
void NSBeep();

}  // namespace corvane::platform
