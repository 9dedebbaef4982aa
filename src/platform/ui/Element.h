#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "platform/ui/Binding.h"
#include "platform/ui/Layout.h"
#include "platform/ui/Style.h"

namespace corvane::platform::ui {

class ComponentBase;
class RepresentableBase;
class View;

/// The rows of a list made from a collection: each row has an identity known up front, and
/// its view is built only when the list shows it or a reader asks for it.
class RowSource {
  public:
    virtual ~RowSource() = default;
    virtual std::size_t size() const = 0;
    /// The identity of row `index` (below `size()`): a row keeps its widgets by it.
    virtual const std::string& identity(std::size_t index) const = 0;
    virtual View row(std::size_t index) const = 0;
};

// What a node of the view tree is.

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
/// A list of rows with an optional single selection of row tags. The rows are those of
/// `rows` where it is set, else the node's children.
struct ListElement {
    std::optional<Binding<std::optional<std::string>>> selection;
    std::shared_ptr<const RowSource> rows;
};
/// A titled box: child 0 is the label, child 1 the content.
struct GroupBoxElement {};

/// A view type with a body of its own (state, observed objects, environment).
struct ComponentElement {
    std::shared_ptr<const ComponentBase> component;
};

/// A platform view wrapped for use among declarative views.
struct RepresentableElement {
    std::shared_ptr<const RepresentableBase> representable;
};

using Element = std::variant<EmptyElement, StackElement, SpacerElement, DividerElement, TextElement,
                             ImageElement, ToggleElement, SliderElement, ButtonElement, ListElement,
                             GroupBoxElement, ComponentElement, RepresentableElement>;

}  // namespace corvane::platform::ui
