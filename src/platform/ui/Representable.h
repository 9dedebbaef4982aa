#pragma once

#include <memory>
#include <typeindex>
#include <utility>

#include "platform/ui/ViewValue.h"

namespace corvane::platform::ui {

/// A wrapped platform view as made, with the coordinator that must live as long as it.
struct MadeRepresentable {
    std::shared_ptr<NSView> view;
    std::shared_ptr<void> coordinator;
};

/// The type-erased form of a wrapped platform view.
class RepresentableBase {
  public:
    virtual ~RepresentableBase() = default;
    virtual std::type_index type() const = 0;
    virtual MadeRepresentable makeNSView(const EnvironmentValues& environment) const = 0;
};

namespace detail {
template <class T>
class RepresentableModel final : public RepresentableBase {
  public:
    explicit RepresentableModel(T value) : value_(std::move(value)) {}
    std::type_index type() const override { return typeid(T); }
    MadeRepresentable makeNSView(const EnvironmentValues& environment) const override {
        if constexpr (requires { value_.makeCoordinator(); }) {
            auto coordinator = value_.makeCoordinator();
            using Coordinator = typename decltype(coordinator)::element_type;
            RepresentableContext<Coordinator> context{*coordinator, environment};
            return {value_.makeNSView(context), std::move(coordinator)};
        } else {
            (void)environment;
            return {value_.makeNSView(), nullptr};
        }
    }

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
