#include "app/CustomWindow.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/appkit/NSSound.h"

namespace corvane {

using platform::NSEvent;

bool CustomWindow::performKeyEquivalent(const NSEvent& event) {
    if (event.type != platform::NSEventType::keyDown ||
        (event.modifierFlags & platform::NSEventModifierFlagCommand) == 0) {
        return NSWindow::performKeyEquivalent(event);
    }
    if (!event.charactersIgnoringModifiers)
        return NSWindow::performKeyEquivalent(event);
    std::string key = *event.charactersIgnoringModifiers;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });

    if (key == "q") {
        platform::NSBeep();
        return true;
    }
    const char* action = key == "v"   ? "paste:"
                         : key == "c" ? "copy:"
                         : key == "x" ? "cut:"
                         : key == "a" ? "selectAll:"
                                      : nullptr;
    if (action == nullptr)
        return NSWindow::performKeyEquivalent(event);
    // A responder that cannot perform the action is asked all the same; nothing happens.
    if (platform::NSResponder* responder = firstResponder())
        responder->tryToPerform(action);
    return true;
}

}  // namespace corvane
