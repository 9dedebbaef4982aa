#pragma once

#include <functional>
#include <map>
#include <string>

#include "platform/combine/Publisher.h"

namespace corvane::platform {

/// One key-value notification: a property named `key` will change (`isPrior`) or did change.
struct KeyValueChange {
    std::string key;
    bool isPrior = false;

    bool operator==(const KeyValueChange&) const = default;
};

/// Key-value observing of an object's properties, announced by hand: the object calls
/// `willChangeValueForKey` before a property changes and `didChangeValueForKey` after, and
/// every observer of that key hears both, synchronously on the calling thread. An observer
/// reads the new value from the object itself. Main thread only.
class KeyValueObservable {
  public:
    virtual ~KeyValueObservable() = default;

    void willChangeValueForKey(const std::string& key) { announce({key, true}); }
    void didChangeValueForKey(const std::string& key) { announce({key, false}); }

    /// Observes the property `key`; the observation lasts as long as the returned value.
    [[nodiscard]] AnyCancellable addObserver(const std::string& key,
                                             std::function<void(const KeyValueChange&)> observer) {
        return observers_[key].sink(std::move(observer));
    }

  private:
    void announce(const KeyValueChange& change) {
        if (auto it = observers_.find(change.key); it != observers_.end())
            it->second.send(change);
    }

    std::map<std::string, Publisher<KeyValueChange>> observers_;
};

}  // namespace corvane::platform
