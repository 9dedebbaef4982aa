#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace corvane {

/// The modifier keys that the settings can make block smoothing while held.
enum class ModifierKey { command, control, option };

/// Every case, in order.
inline constexpr std::array<ModifierKey, 3> kAllModifierKeys{
    ModifierKey::command, ModifierKey::control, ModifierKey::option};

/// The case's identifier: its name ("command", "control", "option").
std::string_view identifier(ModifierKey key);

/// The virtual key code of the key's left-hand key (55, 59, 58), as stored in the settings'
/// block list.
std::uint16_t leftKeyCode(ModifierKey key);

}  // namespace corvane
