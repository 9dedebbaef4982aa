#include "platform/foundation/UserDefaults.h"

namespace corvane::platform {

namespace {

std::mutex& standardMutex() {
    static std::mutex m;
    return m;
}

std::shared_ptr<DefaultsStore>& standardStore() {
    static std::shared_ptr<DefaultsStore> store;
    return store;
}

}  // namespace

bool InMemoryDefaultsStore::persist(const PlistDictionary& domain) {
    if (failWrites_)
        return false;
    domain_ = domain;
    ++persistCount_;
    return true;
}

UserDefaults& UserDefaults::standard() {
    static UserDefaults* defaults = [] {
        std::lock_guard lock(standardMutex());
        if (!standardStore())
            standardStore() = std::make_shared<InMemoryDefaultsStore>();
        return new UserDefaults(standardStore());
    }();
    return *defaults;
}

void UserDefaults::installStandardStore(std::shared_ptr<DefaultsStore> store) {
    std::lock_guard lock(standardMutex());
    standardStore() = std::move(store);
}

UserDefaults::UserDefaults(std::shared_ptr<DefaultsStore> store)
    : store_(std::move(store)), domain_(store_->load()) {}

std::optional<PlistValue> UserDefaults::object(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = domain_.find(key);
    if (it == domain_.end())
        return std::nullopt;
    return it->second;
}

std::optional<Data> UserDefaults::data(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = domain_.find(key);
    if (it == domain_.end() || it->second.data() == nullptr)
        return std::nullopt;
    return *it->second.data();
}

std::optional<std::string> UserDefaults::string(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = domain_.find(key);
    if (it == domain_.end() || it->second.string() == nullptr)
        return std::nullopt;
    return *it->second.string();
}

void UserDefaults::set(const std::string& key, PlistValue value) {
    std::lock_guard lock(mutex_);
    domain_.insert_or_assign(key, std::move(value));
    persistLocked();
}

void UserDefaults::removeObject(const std::string& key) {
    std::lock_guard lock(mutex_);
    domain_.erase(key);
    persistLocked();
}

void UserDefaults::persistLocked() {
    // The values stay in memory whatever the store answers, as the platform's defaults do;
    // a failed write leaves the previous persisted state in place.
    (void)store_->persist(domain_);
}

}  // namespace corvane::platform
