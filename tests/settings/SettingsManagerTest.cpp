#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/log/OSLog.h"
#include "settings/Logger.h"
#include "settings/SettingsDocument.h"
#include "settings/SettingsManager.h"
#include "settings/SettingsTestSupport.h"
#include "support/ThreadCheckTest.h"

namespace corvane {
namespace {

using platform::Data;
using platform::InMemoryDefaultsStore;
using platform::PlistDictionary;
using platform::PlistValue;

Data bytes(const std::string& text) {
    return Data(text.begin(), text.end());
}

std::string text(const Data& data) {
    return std::string(data.begin(), data.end());
}

// Each test runs in a process of its own: the store is installed before the settings store
// first reads it.
class SettingsManagerTest : public ::testing::Test {
  protected:
    void install(PlistDictionary initial = {}) {
        store_ = std::make_shared<InMemoryDefaultsStore>(std::move(initial));
        platform::UserDefaults::installStandardStore(store_);
    }
    std::optional<std::string> storedDocument() const {
        auto it = store_->persisted().find("corvaneSettings");
        if (it == store_->persisted().end() || it->second.data() == nullptr)
            return std::nullopt;
        return text(*it->second.data());
    }

    std::shared_ptr<InMemoryDefaultsStore> store_;
};

// First start with nothing stored: the default value, and nothing written until a change.
TEST_F(SettingsManagerTest, FirstStartTakesTheDefaultsAndWritesNothing) {
    install();
    auto& manager = SettingsManager::shared();
    EXPECT_EQ(manager.key, "corvaneSettings");
    EXPECT_EQ(encodeSettings(manager.settings()), testing::kDefaultDocument);
    EXPECT_EQ(store_->persistCount(), 0);
    EXPECT_THAT(platform::LogStore::shared().messages(),
                ::testing::Contains("Module initialized: SettingsManager").Times(1));
}

// A stored document is loaded as it stands.
TEST_F(SettingsManagerTest, LoadsTheStoredDocument) {
    CorvaneSettings stored;
    stored.scrollBase.reverse = true;
    stored.scrollAdvanced.step = 42;
    stored.appSettings.exceptionalApplication = {std::make_shared<ExceptionalApplication>("com.x")};
    install({{"corvaneSettings", bytes(*encodeSettings(stored))}});
    EXPECT_EQ(SettingsManager::shared().settings(), stored);
    EXPECT_EQ(SettingsManager::shared().settings().scrollAdvanced.step, 42);
}

// A value of another type under the key counts as nothing stored.
TEST_F(SettingsManagerTest, StringUnderTheKeyGivesTheDefaults) {
    install({{"corvaneSettings", PlistValue(testing::kDefaultDocument)}});
    EXPECT_EQ(SettingsManager::shared().settings(), CorvaneSettings{});
}

// An unreadable document gives the defaults and stays stored until the first change, which
// replaces it with the defaults plus that change.
TEST_F(SettingsManagerTest, UndecodableDocumentStaysUntilTheFirstChange) {
    std::string broken = testing::kDefaultDocument;
    broken.replace(broken.find(R"("showMenuIcon":true,)"), 20, "");
    install({{"corvaneSettings", bytes(broken)}});
    auto& manager = SettingsManager::shared();
    EXPECT_EQ(manager.settings(), CorvaneSettings{});
    EXPECT_EQ(storedDocument(), broken);

    manager.setScrollBase(ScrollBase{true, false, true});
    CorvaneSettings expected;
    expected.scrollBase = ScrollBase{true, false, true};
    EXPECT_EQ(storedDocument(), encodeSettings(expected));
}

// Assigning a part notifies observers once, before the value is in place, then saves the
// whole document with only that part changed.
TEST_F(SettingsManagerTest, AssigningAPartNotifiesOnceBeforeAndSaves) {
    install();
    auto& manager = SettingsManager::shared();
    std::vector<ScrollBase> seenByWillChange;
    std::vector<ScrollBase> published;
    auto willChange = manager.objectWillChange().sink(
        [&] { seenByWillChange.push_back(manager.settings().scrollBase); });
    auto values = manager.settingsPublisher().sink(
        [&](const CorvaneSettings& next) { published.push_back(next.scrollBase); });

    const ScrollBase changed{false, true, true};
    manager.setScrollBase(changed);

    EXPECT_THAT(seenByWillChange, ::testing::ElementsAre(ScrollBase{}));
    EXPECT_THAT(published, ::testing::ElementsAre(changed));
    EXPECT_EQ(manager.settings().scrollBase, changed);
    CorvaneSettings expected;
    expected.scrollBase = changed;
    EXPECT_EQ(storedDocument(), encodeSettings(expected));
    EXPECT_EQ(store_->persistCount(), 1);
}

// Every assignment writes the document and moves the generation: two assignments, two writes.
TEST_F(SettingsManagerTest, EveryAssignmentWrites) {
    install();
    auto& manager = SettingsManager::shared();
    const std::uint64_t generation = manager.generation();
    manager.modifySettings([](CorvaneSettings& s) { s.scrollAdvanced.step = 10; });
    manager.setAppSettings([&] {
        AppSettings a = manager.appSettings();
        a.showMenuIcon = false;
        return a;
    }());
    EXPECT_EQ(store_->persistCount(), 2);
    EXPECT_EQ(manager.generation(), generation + 2);
    auto reread = decodeSettings(*storedDocument());
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->scrollAdvanced.step, 10);
    EXPECT_FALSE(reread->appSettings.showMenuIcon);
}

// Changing a field of an exception rewrites the document and notifies nobody; the settings
// value stays equal to a copy taken before, and so does the generation.
TEST_F(SettingsManagerTest, ExceptionChangesSaveWithoutNotifying) {
    CorvaneSettings stored;
    stored.appSettings.exceptionalApplication = {std::make_shared<ExceptionalApplication>("com.x")};
    install({{"corvaneSettings", bytes(*encodeSettings(stored))}});
    auto& manager = SettingsManager::shared();
    const CorvaneSettings before = manager.settings();
    const std::uint64_t generation = manager.generation();
    int notifications = 0;
    auto willChange = manager.objectWillChange().sink([&] { ++notifications; });

    auto exception = manager.settings().appSettings.exceptionalApplication.at(0);
    exception->setInherit(false);
    exception->setScrollAdvanced(ScrollAdvanced{{59}, 40, 300, 50, 7, 30});
    exception->setScrollBase(ScrollBase{false, true, false});

    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(manager.settings(), before);
    EXPECT_EQ(manager.generation(), generation);
    EXPECT_EQ(store_->persistCount(), 3);
    auto reread = decodeSettings(*storedDocument());
    ASSERT_TRUE(reread);
    const auto& e = *reread->appSettings.exceptionalApplication.at(0);
    EXPECT_FALSE(e.inherit());
    EXPECT_EQ(e.scrollAdvanced().step, 40);
    EXPECT_FALSE(e.scrollBase().smooth);
}

// A value that cannot be encoded keeps the change in memory and leaves the stored document.
TEST_F(SettingsManagerTest, UnencodableValueSkipsTheSave) {
    install();
    auto& manager = SettingsManager::shared();
    manager.setScrollBase(ScrollBase{false, false, false});
    const auto saved = storedDocument();
    ScrollAdvanced huge;
    huge.step = std::numeric_limits<double>::infinity();
    manager.setScrollAdvanced(huge);
    EXPECT_EQ(manager.settings().scrollAdvanced.step, huge.step);
    EXPECT_EQ(storedDocument(), saved);
}

// A write that the user defaults cannot persist loses nothing: the value stays current and
// the next successful write stores the whole of it.
TEST_F(SettingsManagerTest, FailedWriteIsMadeGoodByTheNextOne) {
    install();
    auto& manager = SettingsManager::shared();
    store_->failWritesForTesting(true);
    manager.setScrollBase(ScrollBase{true, true, true});
    EXPECT_FALSE(storedDocument());
    EXPECT_TRUE(manager.settings().scrollBase.reverse);

    store_->failWritesForTesting(false);
    manager.modifySettings([](CorvaneSettings& s) { s.scrollAdvanced.step = 50; });
    auto reread = decodeSettings(storedDocument().value_or(""));
    ASSERT_TRUE(reread);
    EXPECT_TRUE(reread->scrollBase.reverse);
    EXPECT_EQ(reread->scrollAdvanced.step, 50);
}

// Whatever bytes lie under the key, the store comes up with a complete value.
TEST_F(SettingsManagerTest, RandomBytesNeverBreakTheStore) {
    std::mt19937_64 rng(99);
    Data junk(512);
    for (auto& b : junk)
        b = static_cast<std::uint8_t>(rng());
    install({{"corvaneSettings", junk}});
    EXPECT_NO_THROW(EXPECT_EQ(SettingsManager::shared().settings(), CorvaneSettings{}));
}

// The logger's subsystem is the main bundle's identifier, with a fallback without one.
TEST(GeneralLogger, FallsBackWithoutABundleIdentifier) {
    platform::Bundle::main().setBundleIdentifier(std::nullopt);
    EXPECT_EQ(Logger::general().subsystem(), "com.Quillon.Corvane");
    EXPECT_EQ(Logger::general().category(), "general");
}

TEST(GeneralLogger, UsesTheMainBundleIdentifier) {
    platform::Bundle::main().setBundleIdentifier("com.example.corvane");
    EXPECT_EQ(Logger::general().subsystem(), "com.example.corvane");
    logModuleInitialized("ScrollEngineCV");
    auto entries = platform::LogStore::shared().entries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), (platform::LogEntry{"com.example.corvane", "general",
                                                  platform::OSLogType::defaultType,
                                                  "Module initialized: ScrollEngineCV"}));
}

using SettingsThreadTest = testing::ThreadCheckTest;

// The store is used from the main thread only: a write from another queue ends the process.
TEST_F(SettingsThreadTest, AWriteOffTheMainThreadIsCaught) {
    auto queue = otherQueue();
    EXPECT_DEATH(
        {
            queue->async([] { SettingsManager::shared().setScrollBase(ScrollBase{}); });
            testing::rt().runPending();
        },
        "ran on \"Test.other\", but runs only on the main thread");
}

}  // namespace
}  // namespace corvane
