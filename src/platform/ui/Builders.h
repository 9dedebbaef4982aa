#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Binding.h"
#include "platform/ui/Layout.h"
#include "platform/ui/ViewValue.h"

namespace corvane::platform {
struct Image;
}  // namespace corvane::platform

namespace corvane::platform::ui {

// The views of the vocabulary, as the views of the application build them.

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
