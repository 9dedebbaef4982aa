#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/PlistValue.h"

namespace corvane::platform {

struct Notification {
    std::string name;
    PlistDictionary userInfo;
};

/// Posts named notifications to the observers registered for that name, synchronously on
/// the posting thread, in the order the observers were added.
class NotificationCenter {
  public:
    using Handler = std::function<void(const Notification&)>;

    /// Identifies one observation; pass it to removeObserver.
    struct ObserverToken {
        std::uint64_t id = 0;
        bool operator==(const ObserverToken&) const = default;
    };

    /// The process's default centre.
    static NotificationCenter& defaultCenter();

    ObserverToken addObserver(std::string name, Handler handler);
    void removeObserver(ObserverToken token);
    void post(const std::string& name, PlistDictionary userInfo = {});

    std::size_t observerCount(const std::string& name) const;

  private:
    struct Entry {
        std::uint64_t id;
        std::string name;
        Handler handler;
    };
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
    std::uint64_t nextId_ = 1;
};

}  // namespace corvane::platform
