#pragma once

#include <cstdint>
#include <vector>

#include "platform/quartz/CGEvent.h"

namespace corvane {

/// The virtual key codes of one modifier (left key first) and its modifier-flag mask.
struct ModifierKeyGroup {
    std::vector<std::uint16_t> keyCodes;
    platform::CGEventFlags flagMask;

    bool operator==(const ModifierKeyGroup&) const = default;

    /// The four groups.
    static const ModifierKeyGroup command;  ///< 55, 54; `kCGEventFlagMaskCommand`
    static const ModifierKeyGroup control;  ///< 59, 62; `kCGEventFlagMaskControl`
    static const ModifierKeyGroup option;   ///< 58, 61; `kCGEventFlagMaskAlternate`
    static const ModifierKeyGroup shift;    ///< 56, 60; `kCGEventFlagMaskShift`

    /// The group that lists `keyCode`, or null for any other key (Caps Lock, 57, included).
    static const ModifierKeyGroup* containing(std::int64_t keyCode);
};

}  // namespace corvane
