#pragma once

#include <memory>
#include <utility>

#include "platform/combine/Publisher.h"
#include "platform/ui/Binding.h"
#include "platform/ui/Environment.h"

namespace corvane::platform::ui {

/// View state: a value owned by the view host, not by the view value. A view declares it
/// as a field with its initial value and lists it in `viewProperties()`; while the view stays
/// in place, every new value of the view takes the storage of the one before, so the state
/// survives updates. Setting it updates the view. Main thread only.
template <class T>
class State {
  public:
    State() : State(T{}) {}
    State(T initial) : box_(std::make_shared<Box>(std::move(initial))) {}  // NOLINT(implicit)

    const T& get() const { return box_->value; }
    /// Stores `value` and updates the views that show it; storing the value already held
    /// changes nothing.
    void set(T value) const {
        if constexpr (requires { value == box_->value; }) {
            if (value == box_->value)
                return;
        }
        box_->willChange.send();
        box_->value = std::move(value);
    }
    /// A binding to the state, for a control.
    Binding<T> binding() const {
        auto box = box_;
        return Binding<T>([box] { return box->value; },
                          [box](T value) { State(box).set(std::move(value)); });
    }

    /// Takes the storage of `previous` (the host calls it when a view stays in place).
    void adoptStorage(const State& previous) { box_ = previous.box_; }
    /// Announces, before the value changes, that it will change.
    Publisher<>& willChange() const { return box_->willChange; }

  private:
    struct Box {
        explicit Box(T v) : value(std::move(v)) {}
        T value;
        mutable Publisher<> willChange;
    };
    explicit State(std::shared_ptr<Box> box) : box_(std::move(box)) {}
    std::shared_ptr<Box> box_;
};

/// An observable object a view shows: the view is updated whenever the object announces a
/// change. The object is not owned.
template <class T>
class ObservedObject {
  public:
    ObservedObject(T& object) : object_(&object) {}  // NOLINT(implicit)

    T& get() const { return *object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    /// The object's will-change publisher, which the host watches.
    Publisher<>& willChange() const { return object_->objectWillChange(); }

  private:
    T* object_;
};

/// A value read from the view's environment (for example the open-URL action): filled in by
/// the host before each evaluation of the body.
template <class T>
class Environment {
  public:
    explicit Environment(T EnvironmentValues::*key) : key_(key) {}

    const T& get() const { return value_; }
    const T& operator()() const { return value_; }
    void bind(const EnvironmentValues& values) { value_ = values.*key_; }

  private:
    T EnvironmentValues::*key_;
    T value_{};
};

}  // namespace corvane::platform::ui
