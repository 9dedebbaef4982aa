#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
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
/// A list whose rows are built from a collection as they are needed (see `ForEach`).
View List(Binding<std::optional<std::string>> selection, std::shared_ptr<const RowSource> rows);
View GroupBox(View label, View content);

/// One view per element of `items`, in order.
template <class Items, class Make>
std::vector<View> ForEach(const Items& items, Make make) {
    std::vector<View> views;
    for (const auto& item : items)
        views.push_back(make(item));
    return views;
}

/// The rows of `items`, in order, for a list: `id(item)` is a row's identity (a string the
/// item keeps), `make(item)` its view, called only for the rows the list shows or a reader
/// asks for.
template <class Item, class Id, class Make>
std::shared_ptr<const RowSource> ForEach(std::vector<Item> items, Id id, Make make) {
    class Rows final : public RowSource {
      public:
        Rows(std::vector<Item> items, Id id, Make make)
            : items_(std::move(items)), id_(std::move(id)), make_(std::move(make)) {}
        std::size_t size() const override { return items_.size(); }
        const std::string& identity(std::size_t index) const override { return id_(items_[index]); }
        View row(std::size_t index) const override { return make_(items_[index]); }

      private:
        std::vector<Item> items_;
        Id id_;
        Make make_;
    };
    return std::make_shared<const Rows>(std::move(items), std::move(id), std::move(make));
}

}  // namespace corvane::platform::ui
