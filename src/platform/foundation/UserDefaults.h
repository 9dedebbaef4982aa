#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/PlistValue.h"

namespace corvane::platform {

/// Where the standard user defaults keep their values. The store is told every change and
/// persists it in its own way.
class DefaultsStore {
  public:
    virtual ~DefaultsStore() = default;
    /// The whole domain as last persisted.
    virtual PlistDictionary load() = 0;
    /// Persists the whole domain; false when it could not be written (the previous state
    /// stays in place).
    virtual bool persist(const PlistDictionary& domain) = 0;
    /// Where the values live, for people ("memory", or a file path).
    virtual std::string location() const = 0;
};

/// Keeps the domain in memory: what tests and the session driver use (the live program keeps
/// it in a file, `live::FileDefaultsStore`). `failWritesForTesting` makes every persist fail,
/// the way a full disk would.
class InMemoryDefaultsStore final : public DefaultsStore {
  public:
    explicit InMemoryDefaultsStore(PlistDictionary initial = {}) : domain_(std::move(initial)) {}
    PlistDictionary load() override { return domain_; }
    bool persist(const PlistDictionary& domain) override;
    std::string location() const override { return "memory"; }

    void failWritesForTesting(bool fail) { failWrites_ = fail; }
    const PlistDictionary& persisted() const { return domain_; }
    int persistCount() const { return persistCount_; }

  private:
    PlistDictionary domain_;
    bool failWrites_ = false;
    int persistCount_ = 0;
};

/// The standard user defaults: typed values by key, held in memory and persisted through the
/// installed store on every change.
class UserDefaults {
  public:
    static UserDefaults& standard();
    /// Sets the store of the standard defaults; call before their first use (an in-memory
    /// store is taken otherwise).
    static void installStandardStore(std::shared_ptr<DefaultsStore> store);

    explicit UserDefaults(std::shared_ptr<DefaultsStore> store);

    std::optional<PlistValue> object(const std::string& key) const;
    /// The value under `key` when it is a data value.
    std::optional<Data> data(const std::string& key) const;
    std::optional<std::string> string(const std::string& key) const;
    void set(const std::string& key, PlistValue value);
    void removeObject(const std::string& key);

    std::string location() const { return store_->location(); }
    DefaultsStore& store() { return *store_; }

  private:
    void persistLocked();

    mutable std::mutex mutex_;
    std::shared_ptr<DefaultsStore> store_;
    PlistDictionary domain_;
};

}  // namespace corvane::platform
