#pragma once

#include <memory>
#include <typeindex>
#include <utility>

#include "platform/ui/ViewValue.h"

namespace corvane::platform::ui {

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

}  // namespace corvane::platform::ui
