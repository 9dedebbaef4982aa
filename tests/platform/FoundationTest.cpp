#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/combine/Published.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/log/OSLog.h"

namespace corvane::platform {
namespace {

using ::testing::ElementsAre;

// Observers of a name get every post of it, in the order they were added, until removed;
// removing oneself from inside a handler is safe.
TEST(NotificationCenterTest, PostsToObserversOfTheName) {
    NotificationCenter center;
    std::vector<std::string> seen;
    NotificationCenter::ObserverToken second;
    auto first = center.addObserver("windowStateChanged", [&](const Notification& n) {
        seen.push_back("first:" + n.name);
        center.removeObserver(second);
    });
    second = center.addObserver("windowStateChanged",
                                [&](const Notification&) { seen.push_back("second"); });
    center.addObserver("other", [&](const Notification&) { seen.push_back("other"); });
    center.post("windowStateChanged");
    center.removeObserver(first);
    center.post("windowStateChanged");
    EXPECT_THAT(seen, ElementsAre("first:windowStateChanged"));
    EXPECT_EQ(center.observerCount("other"), 1u);
}

// A published property tells its owner before it changes, then its own subscribers the new
// value, and holds the new value afterwards; a cancelled subscription hears nothing.
TEST(PublishedTest, AnnouncesBeforeTheValueIsInPlace) {
    ObservableObject owner;
    Published<int> value(owner, 1);
    std::vector<std::string> seen;
    auto a = owner.objectWillChange().sink(
        [&] { seen.push_back("will:" + std::to_string(value.get())); });
    auto b = value.publisher().sink(
        [&](const int& next) { seen.push_back("next:" + std::to_string(next)); });
    value.set(2);
    b.cancel();
    value.set(3);
    EXPECT_THAT(seen, ElementsAre("will:1", "next:2", "will:2"));
    EXPECT_EQ(value.get(), 3);
}

// The logger formats os_log text: privacy markers are dropped, the rest is printf.
TEST(LoggerTest, FormatsWithPrivacyMarkers) {
    OSLog logger("com.example", "general");
    LogStore::shared().clear();
    logger.log("ScrollEngineCV: CVDisplayLinkStart failed, code %{public}d — rebuilding link",
               -6660);
    logger.error("display %{public}u, %{private}s, %d%%", 4u, std::string("secret"), 5);
    logger.log("no arguments %{public}d");
    auto entries = LogStore::shared().entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].message,
              "ScrollEngineCV: CVDisplayLinkStart failed, code -6660 — rebuilding link");
    EXPECT_EQ(entries[0].level, OSLogType::defaultType);
    EXPECT_EQ(entries[1].message, "display 4, secret, 5%");
    EXPECT_EQ(entries[1].level, OSLogType::error);
    EXPECT_EQ(entries[1].subsystem, "com.example");
    EXPECT_EQ(entries[2].message, "no arguments %d");
}

// Values are typed: data reads only as data, strings only as strings.
TEST(UserDefaultsTest, ValuesAreTyped) {
    UserDefaults defaults(std::make_shared<InMemoryDefaultsStore>());
    defaults.set("k", PlistValue("text"));
    EXPECT_FALSE(defaults.data("k"));
    EXPECT_EQ(defaults.string("k"), "text");
    defaults.set("k", Data{1, 2});
    EXPECT_EQ(defaults.data("k"), (Data{1, 2}));
    EXPECT_FALSE(defaults.string("k"));
    defaults.removeObject("k");
    EXPECT_FALSE(defaults.object("k"));
}

class FileDefaultsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("corvane-defaults-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        path_ = (dir_ / "nested" / "domain.plist.json").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
    std::string path_;
};

// Every kind of value survives a write and a fresh read of the file, and no temporary file
// is left beside it.
TEST_F(FileDefaultsStoreTest, RoundTripsEveryKindOfValue) {
    PlistDictionary nested{{"n", 1.5}, {"b", false}};
    {
        UserDefaults defaults(std::make_shared<FileDefaultsStore>(path_));
        defaults.set("data", Data{0, 255, 7, 8});
        defaults.set("string", PlistValue("é"));
        defaults.set("number", -2.25);
        defaults.set("bool", true);
        defaults.set("dict", nested);
    }
    UserDefaults reread(std::make_shared<FileDefaultsStore>(path_));
    EXPECT_EQ(reread.data("data"), (Data{0, 255, 7, 8}));
    EXPECT_EQ(reread.string("string"), "é");
    EXPECT_EQ(reread.object("number"), PlistValue(-2.25));
    EXPECT_EQ(reread.object("bool"), PlistValue(true));
    EXPECT_EQ(reread.object("dict"), PlistValue(nested));
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_ / "nested")) {
        files.push_back(entry.path().filename().string());
    }
    EXPECT_THAT(files, ElementsAre("domain.plist.json"));
}

// A broken file reads as an empty domain and is replaced whole by the next write.
TEST_F(FileDefaultsStoreTest, BrokenFileIsReplacedByTheNextWrite) {
    std::filesystem::create_directories(dir_ / "nested");
    std::ofstream(path_) << "{\"half";
    UserDefaults defaults(std::make_shared<FileDefaultsStore>(path_));
    EXPECT_FALSE(defaults.object("k"));
    defaults.set("k", true);
    UserDefaults reread(std::make_shared<FileDefaultsStore>(path_));
    EXPECT_EQ(reread.object("k"), PlistValue(true));
}

// A write that cannot happen (the folder is a file) reports failure and keeps memory intact.
TEST_F(FileDefaultsStoreTest, FailedWriteKeepsTheValueInMemory) {
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "nested") << "not a folder";
    auto store = std::make_shared<FileDefaultsStore>(path_);
    EXPECT_FALSE(store->persist({{"k", true}}));
    UserDefaults defaults(store);
    defaults.set("k", true);
    EXPECT_EQ(defaults.object("k"), PlistValue(true));
}

}  // namespace
}  // namespace corvane::platform
