#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/NSHostingView.h"
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

/// The first element of `kind` labelled `label` that `host` shows, its popovers and sheets
/// included; fails the test when there is none.
inline platform::ui::ElementHandle element(const platform::NSHostingView& host,
                                           const std::string& kind, const std::string& label) {
    auto found = platform::ui::findElement(host.elementsForTesting(), kind, label);
    EXPECT_TRUE(found) << kind << " \"" << label << "\"";
    return found ? *found : platform::ui::ElementHandle(nullptr);
}

/// Clicks `handle` and lets the hosts update.
inline void click(const platform::ui::ElementHandle& handle) {
    handle.click();
    rt().runPending();
}

}  // namespace corvane::testing
