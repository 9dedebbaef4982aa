#pragma once

#include <functional>
#include <utility>

#include "platform/combine/Publisher.h"

namespace corvane::platform {

/// What an observer of a property asks for: the new value after every change, and the
/// current value at once when it starts observing.
enum NSKeyValueObservingOptions : unsigned {
    NSKeyValueObservingOptionNew = 0x01,
    NSKeyValueObservingOptionInitial = 0x04,
};

/// A property of a platform object that others may observe by key-value observation. Main
/// thread only, like the objects that hold one.
template <class T>
class KeyValueObservedProperty {
  public:
    explicit KeyValueObservedProperty(T initial) : value_(std::move(initial)) {}

    const T& get() const { return value_; }
    /// Stores `value`; when it differs from the value held, every observer that asked for
    /// new values is told.
    void set(T value) {
        if (value == value_)
            return;
        value_ = std::move(value);
        changes_.send(value_);
    }

    /// Observes the property as `options` say; the observation lasts as long as the
    /// returned value.
    [[nodiscard]] AnyCancellable observe(unsigned options, std::function<void(const T&)> handler) {
        AnyCancellable observation;
        if ((options & NSKeyValueObservingOptionNew) != 0)
            observation = changes_.sink(handler);
        if ((options & NSKeyValueObservingOptionInitial) != 0)
            handler(value_);
        return observation;
    }

  private:
    T value_;
    Publisher<T> changes_;
};

}  // namespace corvane::platform
