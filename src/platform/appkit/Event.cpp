#include "platform/appkit/Event.h"

#include <cctype>

namespace corvane::platform {

NSEvent NSEvent::keyDown(char key, NSEventModifierFlags flags) {
    NSEvent event;
    event.type = NSEventType::keyDown;
    event.modifierFlags = flags;
    const bool shift = (flags & NSEventModifierFlagShift) != 0;
    const char ignoring =
        shift ? static_cast<char>(std::toupper(static_cast<unsigned char>(key))) : key;
    event.charactersIgnoringModifiers = std::string(1, ignoring);
    event.characters = std::string(1, ignoring);
    return event;
}

NSEvent NSEvent::returnKeyDown(NSEventModifierFlags flags) {
    NSEvent event;
    event.type = NSEventType::keyDown;
    event.modifierFlags = flags;
    event.characters = "\r";
    event.charactersIgnoringModifiers = "\r";
    event.keyCode = 36;
    return event;
}

}  // namespace corvane::platform
