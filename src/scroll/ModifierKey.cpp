#include "scroll/ModifierKey.h"

namespace corvane {

std::string_view identifier(ModifierKey key) {
    switch (key) {
        case ModifierKey::command:
            return "command";
        case ModifierKey::control:
            return "control";
        case ModifierKey::option:
            return "option";
    }
    return "command";
}

std::uint16_t leftKeyCode(ModifierKey key) {
    switch (key) {
        case ModifierKey::command:
            return 55;
        case ModifierKey::control:
            return 59;
        case ModifierKey::option:
            return 58;
    }
    return 55;
}

}  // namespace corvane
