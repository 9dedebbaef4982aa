#include "platform/foundation/NotificationCenter.h"

#include <algorithm>

namespace corvane::platform {

NotificationCenter& NotificationCenter::defaultCenter() {
    static auto* center = new NotificationCenter();  // never destroyed, like every service
    return *center;
}

NotificationCenter::ObserverToken NotificationCenter::addObserver(std::string name,
                                                                  Handler handler) {
    std::lock_guard lock(mutex_);
    std::uint64_t id = nextId_++;
    entries_.push_back(Entry{id, std::move(name), std::move(handler)});
    return ObserverToken{id};
}

void NotificationCenter::removeObserver(ObserverToken token) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& e) { return e.id == token.id; });
}

void NotificationCenter::post(const std::string& name, PlistDictionary userInfo) {
    // Handlers run without the lock, so that they may add or remove observers.
    std::vector<std::pair<std::uint64_t, Handler>> targets;
    {
        std::lock_guard lock(mutex_);
        for (const auto& e : entries_) {
            if (e.name == name) {
                targets.emplace_back(e.id, e.handler);
            }
        }
    }
    Notification notification{name, std::move(userInfo)};
    for (auto& [id, handler] : targets) {
        bool stillObserving;
        {
            std::lock_guard lock(mutex_);
            stillObserving = std::any_of(entries_.begin(), entries_.end(),
                                         [&, id = id](const Entry& e) { return e.id == id; });
        }
        if (stillObserving) {
            handler(notification);
        }
    }
}

std::size_t NotificationCenter::observerCount(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(entries_.begin(), entries_.end(),
                                                  [&](const Entry& e) { return e.name == name; }));
}

}  // namespace corvane::platform
