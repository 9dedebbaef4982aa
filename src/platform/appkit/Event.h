#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane::platform {

enum class NSEventType { keyDown, keyUp, flagsChanged, other };

using NSEventModifierFlags = std::uint64_t;
constexpr NSEventModifierFlags NSEventModifierFlagShift = 0x20000;
constexpr NSEventModifierFlags NSEventModifierFlagControl = 0x40000;
constexpr NSEventModifierFlags NSEventModifierFlagOption = 0x80000;
constexpr NSEventModifierFlags NSEventModifierFlagCommand = 0x100000;

/// An input event as the application receives it. Key events carry their characters: with
/// modifiers applied (`characters`) and with every modifier but Shift ignored
/// (`charactersIgnoringModifiers`, so Shift-V gives "V"); either may be absent.
struct NSEvent {
    NSEventType type = NSEventType::other;
    NSEventModifierFlags modifierFlags = 0;
    std::optional<std::string> characters;
    std::optional<std::string> charactersIgnoringModifiers;
    std::uint16_t keyCode = 0;

    /// A key-down event of one printable key: `key` as typed without modifiers (a
    /// lower-case letter), upper-cased in `charactersIgnoringModifiers` when Shift is held.
    static NSEvent keyDown(char key, NSEventModifierFlags flags);
    /// A key-down event of the Return key.
    static NSEvent returnKeyDown(NSEventModifierFlags flags = 0);
};

}  // namespace corvane::platform
