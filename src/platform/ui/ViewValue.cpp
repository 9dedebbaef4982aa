#include "platform/ui/ViewValue.h"

#include <stdexcept>

#include "platform/foundation/ProcessInfo.h"

namespace corvane::platform::ui {

void requireAvailable(int major, int minor, const char* api) {
    if (!isAvailable(major, minor)) {
        throw std::logic_error(std::string(api) + " needs macOS " + std::to_string(major) + "." +
                               std::to_string(minor) + "; this system is " +
                               ProcessInfo::processInfo().operatingSystemVersion().toString());
    }
}

View::View() : node_(std::make_shared<Node>(Node{EmptyElement{}, {}, {}})) {}

View::View(Node node) : node_(std::make_shared<Node>(std::move(node))) {}

View View::with(Modifier modifier) const {
    Node copy = *node_;
    copy.modifiers.push_back(std::move(modifier));
    return View(std::move(copy));
}

View View::padding(double length) const {
    return padding(Edges::all(), length);
}
View View::padding(Edges edges, double length) const {
    return with(PaddingModifier{EdgeInsets::of(edges, length)});
}
View View::padding(EdgeInsets insets) const {
    return with(PaddingModifier{insets});
}
View View::frame(std::optional<double> width, std::optional<double> height,
                 Alignment alignment) const {
    return with(FrameModifier{width, height, alignment});
}
View View::frame(FlexibleFrame frame) const {
    return with(FlexibleFrameModifier{frame});
}
View View::fixedSize(bool horizontal, bool vertical) const {
    return with(FixedSizeModifier{horizontal, vertical});
}

View View::background(ShapeStyle style, Shape shape) const {
    if (std::holds_alternative<Material>(style))
        requireAvailable(12, 0, "Material");
    return with(BackgroundModifier{style, shape, Edges::none()});
}
View View::background(ShapeStyle style, Edges ignoresSafeAreaEdges) const {
    if (std::holds_alternative<Material>(style))
        requireAvailable(12, 0, "Material");
    return with(BackgroundModifier{style, Rectangle(), ignoresSafeAreaEdges});
}
View View::clipShape(Shape shape) const {
    return with(ClipShapeModifier{shape});
}
View View::contentShape(Shape shape) const {
    return with(ContentShapeModifier{shape});
}
View View::scaleEffect(double scale) const {
    return with(ScaleEffectModifier{scale});
}
View View::font(Font font) const {
    return with(FontModifier{font});
}
View View::fontWeight(Font::Weight weight) const {
    return with(FontWeightModifier{weight});
}
View View::foregroundStyle(Color color) const {
    requireAvailable(12, 0, "foregroundStyle(_:)");
    return with(ForegroundStyleModifier{color});
}
View View::foregroundColor(Color color) const {
    return with(ForegroundColorModifier{color});
}

View View::resizable() const {
    Node copy = *node_;
    if (auto* image = std::get_if<ImageElement>(&copy.element))
        image->resizable = true;
    return View(std::move(copy));
}
View View::aspectRatio(ContentMode mode) const {
    Node copy = *node_;
    if (auto* image = std::get_if<ImageElement>(&copy.element))
        image->contentMode = mode;
    return View(std::move(copy));
}

View View::disabled(bool disabled) const {
    return with(DisabledModifier{disabled});
}
View View::toggleStyle(ToggleStyle style) const {
    return with(ToggleStyleModifier{style});
}
View View::buttonStyle(BuiltInButtonStyle style) const {
    if (style == BuiltInButtonStyle::borderedProminent) {
        requireAvailable(12, 0, "borderedProminent");
    }
    return with(ButtonStyleModifier{style, nullptr});
}
View View::buttonStyle(std::shared_ptr<const ButtonStyle> style) const {
    return with(ButtonStyleModifier{BuiltInButtonStyle::automatic, std::move(style)});
}
View View::labelsHidden() const {
    return with(LabelsHiddenModifier{});
}
View View::listStyle(ListStyle style) const {
    return with(ListStyleModifier{style});
}
View View::help(std::string text) const {
    return with(HelpModifier{std::move(text)});
}
View View::keyboardShortcut(KeyboardShortcut shortcut) const {
    return with(KeyboardShortcutModifier{shortcut});
}
View View::tag(std::string tag) const {
    return with(TagModifier{std::move(tag)});
}
View View::id(std::string id) const {
    return with(IdModifier{std::move(id)});
}

View View::onTapGesture(int count, std::function<void()> action) const {
    return with(OnTapGestureModifier{count, std::move(action)});
}
View View::onHover(std::function<void(bool)> action) const {
    return with(OnHoverModifier{std::move(action)});
}

View View::accessibilityLabel(std::string key) const {
    return with(AccessibilityLabelModifier{std::move(key)});
}

View View::popover(Binding<bool> isPresented, std::optional<Edge> arrowEdge,
                   std::function<View()> content) const {
    return with(PopoverModifier{std::move(isPresented), arrowEdge, false, std::move(content)});
}
View View::sheet(Binding<bool> isPresented, std::function<void()> onDismiss,
                 std::function<View()> content) const {
    return with(SheetModifier{std::move(isPresented), std::move(onDismiss), std::move(content)});
}

}  // namespace corvane::platform::ui
