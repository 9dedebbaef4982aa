#pragma once

#include <functional>
#include <memory>
#include <tuple>
#include <typeindex>
#include <utility>
#include <vector>

#include "platform/combine/Publisher.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Properties.h"
#include "platform/ui/ViewValue.h"

namespace corvane::platform::ui {

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

}  // namespace corvane::platform::ui
