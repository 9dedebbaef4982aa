#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/appkit/Event.h"
#include "platform/appkit/Geometry.h"

namespace corvane::platform {

class NSWindow;

/// What an element holds: nothing (texts, images, buttons), on or off (toggles; list rows:
/// selected or not), a number (sliders: the bound value) or a text (lists: the label of the
/// selected row).
using ElementValue = std::variant<std::monostate, bool, double, std::string>;

/// One element of a window as a user reads it. A new kind of element adds its name to
/// `kind` and, when it holds something, one of the forms of `ElementValue`.
struct WindowElement {
    /// "text", "image", "button", "toggle", "slider", "list", "row" or "tab" (a button of the
    /// window's toolbar, as a settings window's tabs: on while it is the selected one).
    std::string kind;
    /// The accessibility label when the element has one, else the visible text: an image's
    /// name; for a control without a text of its own (a slider, a list, any other view that
    /// takes a click, read as a "button"), the text before it in reading order.
    std::string label;
    ElementValue value;
    bool enabled = true;
    /// Where it is shown: empty for the window itself, else "sheet" or "popover".
    std::string presentation;

    bool operator==(const WindowElement&) const = default;
};

/// What a window shows now.
struct WindowContents {
    std::string title;
    CGSize size;  ///< the window's frame, in points
    /// The visible elements in reading order; those of the window's open sheets and popovers
    /// follow its own.
    std::vector<WindowElement> elements;
};

/// Reads what `window` shows now, from the controls it really has on screen.
WindowContents inspectWindow(NSWindow& window);

/// What a user does to one element.
struct ElementAction {
    enum class Kind {
        press,   ///< clicks a button
        toggle,  ///< clicks a toggle when it is not already `on`
        slide,   ///< drags a slider's knob to `value`, through every step on the way
        select,  ///< clicks a list row or a tab
    };
    Kind kind = Kind::press;
    bool on = false;
    double value = 0;
    /// When not empty, only the elements inside the list row labelled so (by its first text)
    /// are looked at: a row's own switch and gear, which other rows have too.
    std::string row{};
};

/// What became of an action.
struct ElementActionResult {
    enum class Outcome {
        /// The input was given. A disabled control ignores it, as it would a user's, and so
        /// does anything of a window that shows a sheet, outside the sheet and its popovers.
        done,
        notFound,       ///< no visible element has the label
        notActionable,  ///< the first element with the label does not take the action
        noRow,          ///< no visible list row has the action's `row` label
    };
    Outcome outcome = Outcome::done;
    std::string kind;  ///< notActionable: the kind of that element
};

/// Gives `action` to the first visible element, in reading order, labelled `label` among
/// those that take the action (an empty `label`: whatever its label, as for a row's untitled
/// switch), with the input a user's click or drag would give (so the control's own handling,
/// its bindings and whatever they save run as they would). A slide beyond the slider's range
/// stops at its end.
ElementActionResult performElementAction(NSWindow& window, const std::string& label,
                                         const ElementAction& action);

/// One key press: a key and the modifiers held.
struct KeyPress {
    /// "return", "escape", "tab", "space", "delete", or one printable character in lower case.
    std::string key;
    NSEventModifierFlags modifiers = 0;

    bool operator==(const KeyPress&) const = default;
};

/// Reads a key press written as modifiers and a key joined by '+': "return", "escape",
/// "cmd+q", "cmd+shift+v" (modifiers "cmd", "shift", "option", "ctrl"). None when it is not
/// one.
std::optional<KeyPress> parseKeyPress(const std::string& text);

/// Presses and releases `key` on `window` as the keyboard would: the window's open sheet (or
/// a popover the sheet shows), else its newest popover, else the window takes it; each offers
/// it as a key equivalent of the window first. The window's own controls behind a sheet are
/// not offered it.
void pressKey(NSWindow& window, const KeyPress& key);

}  // namespace corvane::platform
