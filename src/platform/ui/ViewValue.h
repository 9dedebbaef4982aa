#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/ui/AnyEquatable.h"
#include "platform/ui/Binding.h"
#include "platform/ui/Element.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Layout.h"
#include "platform/ui/Modifier.h"
#include "platform/ui/Style.h"

namespace corvane::platform {
class NSView;
}  // namespace corvane::platform

namespace corvane::platform::ui {

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

/// What a wrapped platform view is made with: the coordinator its wrapper made for it and
/// the environment where it is shown.
template <class Coordinator>
struct RepresentableContext {
    Coordinator& coordinator;
    const EnvironmentValues& environment;
};

/// A type that wraps a platform view: `makeNSView()`, or `makeCoordinator()` (a shared
/// object that lives as long as the view, the target of its actions) and
/// `makeNSView(context)`.
template <class T>
concept ViewRepresentable = requires(const T& t) {
    { t.makeNSView() } -> std::convertible_to<std::shared_ptr<NSView>>;
}
|| requires(const T& t) {
    {*t.makeCoordinator()};
    {
        t.makeNSView(std::declval<
                     RepresentableContext<typename decltype(t.makeCoordinator())::element_type>&>())
        } -> std::convertible_to<std::shared_ptr<NSView>>;
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
    /// A localizable key, looked up like a text's.
    View accessibilityLabel(std::string key) const;

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

}  // namespace corvane::platform::ui

// The constructors of a view from a component or a wrapped platform view.
#include "platform/ui/Component.h"
#include "platform/ui/Representable.h"
