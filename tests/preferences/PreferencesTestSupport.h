#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/foundation/UserDefaults.h"
#include "settings/SettingsManager.h"
#include "support/SimSession.h"

namespace corvane::testing {

/// A fresh settings store over an in-memory user defaults that counts its writes. Each test
/// runs in a process of its own, so the store is installed before the settings are read.
class SettingsFixture : public ::testing::Test {
  public:
    void SetUp() override {
        defaults_ = std::make_shared<platform::InMemoryDefaultsStore>();
        platform::UserDefaults::installStandardStore(defaults_);
    }
    SettingsManager& store() { return SettingsManager::shared(); }
    /// Settings documents written so far.
    int saves() const { return defaults_->persistCount(); }
    /// Replaces the global block list (one save).
    void setBlock(std::vector<std::int64_t> block) {
        ScrollAdvanced advanced = store().scrollAdvanced();
        advanced.block = std::move(block);
        store().setScrollAdvanced(advanced);
        rt().runPending();
    }
    std::vector<std::int64_t> block() { return store().scrollAdvanced().block; }

  private:
    std::shared_ptr<platform::InMemoryDefaultsStore> defaults_;
};

}  // namespace corvane::testing
