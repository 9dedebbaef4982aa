#pragma once

#include <cstdint>

namespace corvane {

/// The value written into the source user-data field of every event the engine posts (the
/// letters "Corv"), so that the scroll tap lets the system's own events pass untouched.
inline constexpr std::int64_t kOwnEventStamp = 0x436F7276;

}  // namespace corvane
