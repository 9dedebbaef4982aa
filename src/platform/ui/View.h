#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <variant>
#include <vector>

#include "platform/combine/Publisher.h"
#include "platform/ui/AnyEquatable.h"
#include "platform/ui/Binding.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Layout.h"
#include "platform/ui/Properties.h"
#include "platform/ui/Style.h"

namespace corvane::platform {
class NSView;
struct Image;
}  // namespace corvane::platform

namespace corvane::platform::ui {

class View;

// ---- Elements: what a node of the view tree is. ----

struct EmptyElement {};
/// A row or column of children (`HStack`, `VStack`). Spacing in points; none: the default.
struct StackElement {
    Axis axis = Axis::vertical;
    HorizontalAlignment horizontalAlignment = HorizontalAlignment::center;  ///< of a column
    VerticalAlignment verticalAlignment = VerticalAlignment::center;        ///< of a row
    std::optional<double> spacing;
};
/// Flexible empty space along its stack's axis; `minLength` in points.
struct SpacerElement {
    std::optional<double> minLength;
};
/// A thin line across its stack.
struct DividerElement {};
/// A text: a localizable key (looked up in the main bundle's strings) or verbatim text.
struct TextElement {
    std::string text;
    bool localized = true;
};
/// An image: an asset of the main bundle, a system symbol (drawn in the current font) or an
/// icon the workspace handed out (with its size in points).
struct ImageElement {
    enum class Source { asset, systemSymbol, icon };
    Source source = Source::asset;
    std::string name;
    bool resizable = false;
    std::optional<ContentMode> contentMode;
    double width = 0;   ///< icons: points
    double height = 0;  ///< icons: points
};
/// An on/off control with a title (and an optional symbol before it).
struct ToggleElement {
    std::string title;
    std::optional<std::string> systemImage;
    Binding<bool> isOn;
};
/// A horizontal slider over a closed range, lower bound at the left; with a step, values the
/// user sets lie on the grid lower + k * step.
struct SliderElement {
    Binding<double> value;
    double lowerBound = 0;
    double upperBound = 1;
    std::optional<double> step;
};
/// A push button; its label is the node's only child.
struct ButtonElement {
    std::function<void()> action;
};
/// A list of rows (the node's children) with an optional single selection of row tags.
struct ListElement {
    std::optional<Binding<std::optional<std::string>>> selection;
};
/// A titled box: child 0 is the label, child 1 the content.
struct GroupBoxElement {};

class ComponentBase;
/// A view type with a body of its own (state, observed objects, environment).
struct ComponentElement {
    std::shared_ptr<const ComponentBase> component;
};

class RepresentableBase;
/// A platform view wrapped for use among declarative views.
struct RepresentableElement {
    std::shared_ptr<const RepresentableBase> representable;
};

using Element = std::variant<EmptyElement, StackElement, SpacerElement, DividerElement, TextElement,
                             ImageElement, ToggleElement, SliderElement, ButtonElement, ListElement,
                             GroupBoxElement, ComponentElement, RepresentableElement>;

// ---- Modifiers, in the order applied (innermost first). ----

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

using Modifier =
    std::variant<PaddingModifier, FrameModifier, FlexibleFrameModifier, FixedSizeModifier,
                 BackgroundModifier, ClipShapeModifier, ContentShapeModifier, ScaleEffectModifier,
                 FontModifier, FontWeightModifier, ForegroundStyleModifier, ForegroundColorModifier,
                 DisabledModifier, ToggleStyleModifier, ButtonStyleModifier, LabelsHiddenModifier,
                 ListStyleModifier, HelpModifier, KeyboardShortcutModifier, TagModifier, IdModifier,
                 OnTapGestureModifier, OnHoverModifier, OnChangeModifier, PopoverModifier,
                 SheetModifier, EnvironmentModifier>;

/// One node of a view tree: an element, its children and its modifiers.
struct Node {
    Element element;
    std::vector<View> children;
    std::vector<Modifier> modifiers;  ///< innermost first
};

/// Throws std::logic_error when the running system is older than `major`.`minor`: `api` is
/// not available there, and a view that uses it without an availability check is a fault.
void requireAvailable(int major, int minor, const char* api);

/// A type whose values are views with a body of their own.
template <class T>
concept ViewComponent = requires(const T& t) {
    { t.body() } -> std::convertible_to<View>;
};

/// A type that wraps a platform view (`makeNSView`).
template <class T>
concept ViewRepresentable = requires(const T& t) {
    { t.makeNSView() } -> std::convertible_to<std::shared_ptr<NSView>>;
};

/// A view value: a small immutable tree of nodes. Modifiers return a new value wrapping
/// this one; values are cheap to copy.
class View {
  public:
    /// The empty view.
    View();
    explicit View(Node node);
    template <ViewComponent T>
    View(T component);  // NOLINT(implicit): a component is a view
    template <ViewRepresentable T>
    View(T representable);  // NOLINT(implicit)

    const Node& node() const { return *node_; }
    const Element& element() const { return node_->element; }
    const std::vector<View>& children() const { return node_->children; }
    const std::vector<Modifier>& modifiers() const { return node_->modifiers; }
    /// The outermost modifier of kind `M`, or null.
    template <class M>
    const M* modifier() const {
        for (auto it = node_->modifiers.rbegin(); it != node_->modifiers.rend(); ++it) {
            if (const auto* m = std::get_if<M>(&*it))
                return m;
        }
        return nullptr;
    }
    /// Whether the node is an element of kind `E`.
    template <class E>
    const E* as() const {
        return std::get_if<E>(&node_->element);
    }

    // Layout.
    View padding(double length = kDefaultPadding) const;
    View padding(Edges edges, double length = kDefaultPadding) const;
    View padding(EdgeInsets insets) const;
    View frame(std::optional<double> width, std::optional<double> height,
               Alignment alignment = Alignment::center()) const;
    View frame(FlexibleFrame frame) const;
    View fixedSize() const { return fixedSize(true, true); }
    View fixedSize(bool horizontal, bool vertical) const;

    // Drawing.
    View background(ShapeStyle style, Shape shape = Rectangle()) const;
    View background(ShapeStyle style, Edges ignoresSafeAreaEdges) const;
    View clipShape(Shape shape) const;
    View contentShape(Shape shape) const;
    View scaleEffect(double scale) const;
    View font(Font font) const;
    View fontWeight(Font::Weight weight) const;
    /// The foreground style (macOS 12 and later).
    View foregroundStyle(Color color) const;
    View foregroundColor(Color color) const;
    /// For images: stretch to the space offered.
    View resizable() const;
    View aspectRatio(ContentMode mode) const;
    View scaledToFit() const { return aspectRatio(ContentMode::fit); }

    // Controls.
    View disabled(bool disabled) const;
    View toggleStyle(ToggleStyle style) const;
    /// A built-in style; `borderedProminent` needs macOS 12.
    View buttonStyle(BuiltInButtonStyle style) const;
    View buttonStyle(std::shared_ptr<const ButtonStyle> style) const;
    View labelsHidden() const;
    View listStyle(ListStyle style) const;
    View help(std::string text) const;
    View keyboardShortcut(KeyboardShortcut shortcut) const;
    View tag(std::string tag) const;
    View id(std::string id) const;

    // Events.
    View onTapGesture(int count, std::function<void()> action) const;
    View onTapGesture(std::function<void()> action) const {
        return onTapGesture(1, std::move(action));
    }
    View onHover(std::function<void(bool)> action) const;
    /// The change observer of macOS 14: `action(old, new)`; with `initial` also on first show.
    template <class T>
    View onChange(T value, bool initial, std::function<void(const T&, const T&)> action) const {
        requireAvailable(14, 0, "onChange(of:initial:_:)");
        return with(OnChangeModifier{AnyEquatable(std::move(value)), true, initial,
                                     [action](const AnyEquatable& o, const AnyEquatable& n) {
                                         action(o.get<T>(), n.get<T>());
                                     }});
    }
    /// The older change observer: `action(new)` on each change, never on first show.
    template <class T>
    View onChange(T value, std::function<void(const T&)> action) const {
        return with(OnChangeModifier{
            AnyEquatable(std::move(value)), false, false,
            [action](const AnyEquatable&, const AnyEquatable& n) { action(n.get<T>()); }});
    }

    // Presentations.
    View popover(Binding<bool> isPresented, std::optional<Edge> arrowEdge,
                 std::function<View()> content) const;
    View sheet(Binding<bool> isPresented, std::function<void()> onDismiss,
               std::function<View()> content) const;

    template <class V>
    View environment(V EnvironmentValues::*key, V value) const {
        return with(EnvironmentModifier{[key, value](EnvironmentValues& e) { e.*key = value; }});
    }

    /// This view with `modifier` applied outside the existing ones.
    View with(Modifier modifier) const;

  private:
    std::shared_ptr<const Node> node_;
};

/// How a custom button style is asked to draw: the button's label and whether it is pressed.
struct ButtonStyleConfiguration {
    View label;
    bool isPressed = false;
};

/// A custom button style: makes a button's body from its label.
class ButtonStyle {
  public:
    virtual ~ButtonStyle() = default;
    virtual View makeBody(const ButtonStyleConfiguration& configuration) const = 0;
};

// ---- Components. ----

/// The type-erased form of a view component, kept by the host while the view stays in place.
class ComponentBase {
  public:
    virtual ~ComponentBase() = default;
    virtual std::type_index type() const = 0;
    virtual std::unique_ptr<ComponentBase> clone() const = 0;
    virtual View body() const = 0;
    /// Takes the state storage of `previous`, a component of the same type.
    virtual void adoptState(const ComponentBase& previous) = 0;
    /// Calls `invalidate` whenever a state or an observed object of the view will change.
    virtual void subscribe(std::function<void()> invalidate, std::vector<AnyCancellable>& into) = 0;
    virtual void bindEnvironment(const EnvironmentValues& values) = 0;
};

namespace detail {

template <class P>
void adoptProperty(P&, const P&) {}
template <class T>
void adoptProperty(State<T>& current, const State<T>& previous) {
    current.adoptStorage(previous);
}
template <class P>
void subscribeProperty(P&, const std::function<void()>&, std::vector<AnyCancellable>&) {}
template <class T>
void subscribeProperty(State<T>& p, const std::function<void()>& f,
                       std::vector<AnyCancellable>& into) {
    into.push_back(p.willChange().sink(f));
}
template <class T>
void subscribeProperty(ObservedObject<T>& p, const std::function<void()>& f,
                       std::vector<AnyCancellable>& into) {
    into.push_back(p.willChange().sink(f));
}
template <class P>
void bindProperty(P&, const EnvironmentValues&) {}
template <class T>
void bindProperty(Environment<T>& p, const EnvironmentValues& values) {
    p.bind(values);
}

template <class T>
concept HasViewProperties = requires(T& t) {
    t.viewProperties();
};

template <class T>
class ComponentModel final : public ComponentBase {
  public:
    explicit ComponentModel(T value) : value_(std::move(value)) {}
    std::type_index type() const override { return typeid(T); }
    std::unique_ptr<ComponentBase> clone() const override {
        return std::make_unique<ComponentModel>(value_);
    }
    View body() const override { return value_.body(); }
    void adoptState(const ComponentBase& previous) override {
        if constexpr (HasViewProperties<T>) {
            auto& old = const_cast<T&>(static_cast<const ComponentModel&>(previous).value_);
            std::apply(
                [&](auto&... mine) {
                    std::apply([&](auto&... theirs) { (adoptProperty(mine, theirs), ...); },
                               old.viewProperties());
                },
                value_.viewProperties());
        }
    }
    void subscribe(std::function<void()> invalidate, std::vector<AnyCancellable>& into) override {
        if constexpr (HasViewProperties<T>) {
            std::apply([&](auto&... p) { (subscribeProperty(p, invalidate, into), ...); },
                       value_.viewProperties());
        }
    }
    void bindEnvironment(const EnvironmentValues& values) override {
        if constexpr (HasViewProperties<T>) {
            std::apply([&](auto&... p) { (bindProperty(p, values), ...); },
                       value_.viewProperties());
        }
    }

  private:
    T value_;
};

}  // namespace detail

template <ViewComponent T>
View::View(T component)
    : View(Node{ComponentElement{std::make_shared<detail::ComponentModel<T>>(std::move(component))},
                {},
                {}}) {}

// ---- Platform views. ----

/// The type-erased form of a wrapped platform view.
class RepresentableBase {
  public:
    virtual ~RepresentableBase() = default;
    virtual std::type_index type() const = 0;
    virtual std::shared_ptr<NSView> makeNSView() const = 0;
};

namespace detail {
template <class T>
class RepresentableModel final : public RepresentableBase {
  public:
    explicit RepresentableModel(T value) : value_(std::move(value)) {}
    std::type_index type() const override { return typeid(T); }
    std::shared_ptr<NSView> makeNSView() const override { return value_.makeNSView(); }

  private:
    T value_;
};
}  // namespace detail

template <ViewRepresentable T>
View::View(T representable)
    : View(Node{RepresentableElement{
                    std::make_shared<detail::RepresentableModel<T>>(std::move(representable))},
                {},
                {}}) {}

// ---- Builders. ----

/// Text shown as it is, not looked up as a localizable key.
struct Verbatim {
    std::string text;
};

View EmptyView();
View VStack(std::vector<View> children);
View VStack(HorizontalAlignment alignment, std::optional<double> spacing,
            std::vector<View> children);
View HStack(std::vector<View> children);
View HStack(VerticalAlignment alignment, std::optional<double> spacing, std::vector<View> children);
View Spacer(std::optional<double> minLength = std::nullopt);
View Divider();
/// A localizable text: `key` is looked up in the main bundle's strings (the key is the text
/// when no translation exists).
View Text(std::string key);
View Text(Verbatim text);
/// An image asset of the main bundle; an unknown name draws nothing.
View Image(std::string assetName);
/// A system symbol, drawn in the current font; an unknown name draws nothing.
View SystemImage(std::string symbolName);
/// An application's or a file's icon, as the workspace hands it out.
View Image(const platform::Image& icon);
View Toggle(std::string title, Binding<bool> isOn);
/// A toggle whose label is a title with a symbol before it.
View Toggle(std::string title, std::string systemImage, Binding<bool> isOn);
View Slider(Binding<double> value, double lowerBound, double upperBound,
            std::optional<double> step = std::nullopt);
View Button(std::string title, std::function<void()> action);
View Button(View label, std::function<void()> action);
View List(std::vector<View> rows);
View List(Binding<std::optional<std::string>> selection, std::vector<View> rows);
View GroupBox(View label, View content);

/// One view per element of `items`, in order.
template <class Items, class Make>
std::vector<View> ForEach(const Items& items, Make make) {
    std::vector<View> views;
    for (const auto& item : items)
        views.push_back(make(item));
    return views;
}

}  // namespace corvane::platform::ui
