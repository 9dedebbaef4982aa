#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace corvane::platform
