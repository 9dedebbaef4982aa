#include "platform/ui/Builders.h"

#include <utility>

#include "platform/appkit/Image.h"

namespace corvane::platform::ui {

View EmptyView() {
    return View();
}

View VStack(std::vector<View> children) {
    return VStack(HorizontalAlignment::center, std::nullopt, std::move(children));
}
View VStack(HorizontalAlignment alignment, std::optional<double> spacing,
            std::vector<View> children) {
    StackElement stack{Axis::vertical, alignment, VerticalAlignment::center, spacing};
    return View(Node{stack, std::move(children), {}});
}
View HStack(std::vector<View> children) {
    return HStack(VerticalAlignment::center, std::nullopt, std::move(children));
}
View HStack(VerticalAlignment alignment, std::optional<double> spacing,
            std::vector<View> children) {
    StackElement stack{Axis::horizontal, HorizontalAlignment::center, alignment, spacing};
    return View(Node{stack, std::move(children), {}});
}
View Spacer(std::optional<double> minLength) {
    return View(Node{SpacerElement{minLength}, {}, {}});
}
View Divider() {
    return View(Node{DividerElement{}, {}, {}});
}
View Text(std::string key) {
    return View(Node{TextElement{std::move(key), true}, {}, {}});
}
View Text(Verbatim text) {
    return View(Node{TextElement{std::move(text.text), false}, {}, {}});
}
View Image(std::string assetName) {
    return View(Node{
        ImageElement{ImageElement::Source::asset, std::move(assetName), false, {}, 0, 0}, {}, {}});
}
View SystemImage(std::string symbolName) {
    return View(Node{
        ImageElement{ImageElement::Source::systemSymbol, std::move(symbolName), false, {}, 0, 0},
        {},
        {}});
}
View Image(const platform::Image& icon) {
    ImageElement image{ImageElement::Source::icon, icon.name, false, {}, icon.width, icon.height};
    return View(Node{image, {}, {}});
}
View Toggle(std::string title, Binding<bool> isOn) {
    return View(Node{ToggleElement{std::move(title), std::nullopt, std::move(isOn)}, {}, {}});
}
View Toggle(std::string title, std::string systemImage, Binding<bool> isOn) {
    return View(
        Node{ToggleElement{std::move(title), std::move(systemImage), std::move(isOn)}, {}, {}});
}
View Slider(Binding<double> value, double lowerBound, double upperBound,
            std::optional<double> step) {
    return View(Node{SliderElement{std::move(value), lowerBound, upperBound, step}, {}, {}});
}
View Button(std::string title, std::function<void()> action) {
    return Button(Text(std::move(title)), std::move(action));
}
View Button(View label, std::function<void()> action) {
    return View(Node{ButtonElement{std::move(action)}, {std::move(label)}, {}});
}
View List(std::vector<View> rows) {
    return View(Node{ListElement{std::nullopt, nullptr}, std::move(rows), {}});
}
View List(Binding<std::optional<std::string>> selection, std::vector<View> rows) {
    return View(Node{ListElement{std::move(selection), nullptr}, std::move(rows), {}});
}
View List(Binding<std::optional<std::string>> selection, std::shared_ptr<const RowSource> rows) {
    return View(Node{ListElement{std::move(selection), std::move(rows)}, {}, {}});
}
View GroupBox(View label, View content) {
    return View(Node{GroupBoxElement{}, {std::move(label), std::move(content)}, {}});
}

}  // namespace corvane::platform::ui
