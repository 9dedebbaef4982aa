#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "platform/combine/Publisher.h"

namespace corvane::platform {

/// What an observer of a property asks for besides the notification after every change: the
/// new value (which observers here read from the object itself), a notification at once when
/// it starts observing, and one before every change.
enum NSKeyValueObservingOptions : unsigned {
    NSKeyValueObservingOptionNew = 0x01,
    NSKeyValueObservingOptionInitial = 0x04,
    NSKeyValueObservingOptionPrior = 0x08,
};

/// One key-value notification: the property named `key` will change (`isPrior`), did change,
/// or is being observed from now on (the initial notification, not prior).
struct KeyValueChange {
    std::string key;
    bool isPrior = false;

    bool operator==(const KeyValueChange&) const = default;
};

/// Key-value observing of an object's properties. The object announces each change of a
/// property: `willChangeValueForKey` before it, `didChangeValueForKey` after it (by hand, or
/// through a `KeyValueObservedProperty`). Every observer of the key hears the change after
/// it, and before it too when it asked for `NSKeyValueObservingOptionPrior`, synchronously on
/// the calling thread; it reads the value from the object. Main thread only.
class KeyValueObservable {
  public:
    virtual ~KeyValueObservable() = default;

    void willChangeValueForKey(const std::string& key) { announce({key, true}); }
    void didChangeValueForKey(const std::string& key) { announce({key, false}); }

    /// Observes the property `key` as `options` (`NSKeyValueObservingOptions`) say; the
    /// observation lasts as long as the returned value.
    [[nodiscard]] AnyCancellable addObserver(const std::string& key, unsigned options,
                                             std::function<void(const KeyValueChange&)> observer) {
        const bool prior = (options & NSKeyValueObservingOptionPrior) != 0;
        AnyCancellable observation =
            observers_[key].sink([prior, observer](const KeyValueChange& change) {
                if (prior || !change.isPrior)
                    observer(change);
            });
        if ((options & NSKeyValueObservingOptionInitial) != 0)
            observer({key, false});
        return observation;
    }

  private:
    void announce(const KeyValueChange& change) {
        if (auto it = observers_.find(change.key); it != observers_.end())
            it->second.send(change);
    }

    std::map<std::string, Publisher<KeyValueChange>> observers_;
};

/// A stored property of a key-value observable object, under its key: setting a different
/// value announces the change to the object's observers of that key. Main thread only.
template <class T>
class KeyValueObservedProperty {
  public:
    KeyValueObservedProperty(KeyValueObservable& owner, std::string key, T initial)
        : owner_(owner), key_(std::move(key)), value_(std::move(initial)) {}
    KeyValueObservedProperty(const KeyValueObservedProperty&) = delete;
    KeyValueObservedProperty& operator=(const KeyValueObservedProperty&) = delete;

    const T& get() const { return value_; }
    /// Stores `value`; when it differs from the value held, the change is announced.
    void set(T value) {
        if (value == value_)
            return;
        owner_.willChangeValueForKey(key_);
        value_ = std::move(value);
        owner_.didChangeValueForKey(key_);
    }

    /// Observes the property as `options` say, `handler` receiving its value after every
    /// change (and at once with `NSKeyValueObservingOptionInitial`); the observation lasts as
    /// long as the returned value.
    [[nodiscard]] AnyCancellable observe(unsigned options, std::function<void(const T&)> handler) {
        return owner_.addObserver(
            key_, options & ~NSKeyValueObservingOptionPrior,
            [this, handler = std::move(handler)](const KeyValueChange&) { handler(value_); });
    }

  private:
    KeyValueObservable& owner_;
    std::string key_;
    T value_;
};

}  // namespace corvane::platform
