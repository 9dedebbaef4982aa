#pragma once

namespace corvane::platform {

/// Plays the system's alert sound (recorded by the simulated session).
void NSBeep();

}  // namespace corvane::platform
