#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "platform/ui/AnyEquatable.h"
#include "platform/ui/Binding.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Layout.h"
#include "platform/ui/Style.h"

namespace corvane::platform::ui {

class View;
class ButtonStyle;

// What a modifier does to the view it wraps; a node keeps them in the order applied
// (innermost first).

struct PaddingModifier {
    EdgeInsets insets;
};
/// A fixed frame: width and height in points, each optional.
struct FrameModifier {
    std::optional<double> width;
    std::optional<double> height;
    Alignment alignment;
};
struct FlexibleFrameModifier {
    FlexibleFrame frame;
};
/// The content takes its ideal size on the chosen axes, whatever it is offered.
struct FixedSizeModifier {
    bool horizontal = true;
    bool vertical = true;
};
struct BackgroundModifier {
    ShapeStyle style;
    Shape shape;
    Edges ignoresSafeAreaEdges = Edges::none();
};
struct ClipShapeModifier {
    Shape shape;
};
/// The area that takes clicks and hovering.
struct ContentShapeModifier {
    Shape shape;
};
struct ScaleEffectModifier {
    double scale = 1;
};
struct FontModifier {
    Font font;
};
struct FontWeightModifier {
    Font::Weight weight;
};
/// The foreground-style modifier (macOS 12 and later).
struct ForegroundStyleModifier {
    Color color;
};
/// The older foreground-colour modifier.
struct ForegroundColorModifier {
    Color color;
};
struct DisabledModifier {
    bool disabled = true;
};
struct ToggleStyleModifier {
    ToggleStyle style;
};
struct ButtonStyleModifier {
    BuiltInButtonStyle builtIn = BuiltInButtonStyle::automatic;
    std::shared_ptr<const ButtonStyle> custom;
};
struct LabelsHiddenModifier {};
struct ListStyleModifier {
    ListStyle style;
};
/// A tooltip.
struct HelpModifier {
    std::string text;
};
struct KeyboardShortcutModifier {
    KeyboardShortcut shortcut;
};
/// The value a row stands for in a selection; also its identity among its siblings.
struct TagModifier {
    std::string tag;
};
/// The identity of a view among its siblings.
struct IdModifier {
    std::string id;
};
struct OnTapGestureModifier {
    int count = 1;
    std::function<void()> action;
};
struct OnHoverModifier {
    std::function<void(bool)> action;
};
/// Runs `action` with the previous and the new value whenever `value` differs from the one
/// seen at the previous update. `passesOldValue` marks the form of macOS 14 (old and new
/// value, with `initial` choosing a run on first show); the older form passes the new value.
struct OnChangeModifier {
    AnyEquatable value;
    bool passesOldValue = false;
    bool initial = false;
    std::function<void(const AnyEquatable& oldValue, const AnyEquatable& newValue)> action;
};
/// A popover shown beside the view while `isPresented` is true. `arrowEdge` none: the
/// system places the arrow. Attached to the view's bounds.
struct PopoverModifier {
    Binding<bool> isPresented;
    std::optional<Edge> arrowEdge;
    bool detachable = false;
    std::function<View()> content;
};
/// A modal sheet on the view's window, shown while `isPresented` is true.
struct SheetModifier {
    Binding<bool> isPresented;
    std::function<void()> onDismiss;
    std::function<View()> content;
};
struct EnvironmentModifier {
    std::function<void(EnvironmentValues&)> apply;
};
/// What assistive technologies (and the session driver) call the element, for a control
/// that shows no text of its own.
struct AccessibilityLabelModifier {
    std::string label;
};

using Modifier =
    std::variant<PaddingModifier, FrameModifier, FlexibleFrameModifier, FixedSizeModifier,
                 BackgroundModifier, ClipShapeModifier, ContentShapeModifier, ScaleEffectModifier,
                 FontModifier, FontWeightModifier, ForegroundStyleModifier, ForegroundColorModifier,
                 DisabledModifier, ToggleStyleModifier, ButtonStyleModifier, LabelsHiddenModifier,
                 ListStyleModifier, HelpModifier, KeyboardShortcutModifier, TagModifier, IdModifier,
                 OnTapGestureModifier, OnHoverModifier, OnChangeModifier, PopoverModifier,
                 SheetModifier, EnvironmentModifier, AccessibilityLabelModifier>;

}  // namespace corvane::platform::ui
