#pragma once

#include <utility>

#include "platform/combine/Publisher.h"

namespace corvane::platform {

/// A published property of an observable object. Assigning it first sends the owner's
/// will-change notification, then sends the new value to the property's own publisher
/// (before it is in place, as a will-set publisher does), then stores it.
template <class T>
class Published {
  public:
    Published(ObservableObject& owner, T initial) : owner_(owner), value_(std::move(initial)) {}
    Published(const Published&) = delete;
    Published& operator=(const Published&) = delete;

    const T& get() const { return value_; }
    void set(T newValue) {
        owner_.objectWillChange().send();
        publisher_.send(newValue);
        value_ = std::move(newValue);
    }
    /// The publisher of the property's values (what `$property` is).
    Publisher<T>& publisher() { return publisher_; }

  private:
    ObservableObject& owner_;
    T value_;
    Publisher<T> publisher_;
};

}  // namespace corvane::platform
