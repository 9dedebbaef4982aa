#include "platform/live/FileDefaultsStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/live/DefaultsFile.h"
#include "platform/log/OSLog.h"
#include "support/CaseTable.h"

namespace corvane::platform::live {
namespace {

using testing::PrintTo;

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class FileDefaultsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // In memory where the system offers it: a kill loses no written page, so the disk
        // adds only the time of its flushes.
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        dir_ = base / ("corvane-defaults-" + std::to_string(::getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "nested");
        path_ = (dir_ / "nested" / "domain.plist.json").string();
        LogStore::shared().clear();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void write(const std::string& text, const std::string& path = {}) const {
        std::ofstream(path.empty() ? path_ : path, std::ios::binary) << text;
    }
    std::string read(const std::string& path = {}) const {
        std::ifstream in(path.empty() ? path_ : path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    /// The names in the file's folder, sorted.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / "nested")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path dir_;
    std::string path_;
};

// Every kind of value survives a write and a fresh read of the file, and no temporary file
// is left beside it.
TEST_F(FileDefaultsStoreTest, RoundTripsEveryKindOfValue) {
    PlistDictionary nested{{"n", 1.5}, {"b", false}};
    std::filesystem::remove_all(dir_ / "nested");  // the folder is made by the first write
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
    EXPECT_THAT(files(), ElementsAre("domain.plist.json"));
}

/// `{"dict": {"k": {"dict": ...}}}` nested `depth` dictionaries deep.
std::string nestedDictionaries(std::size_t depth) {
    std::string text;
    for (std::size_t i = 0; i < depth; ++i)
        text += R"({"dict": {"k": )";
    text += R"({"bool": true})";
    for (std::size_t i = 0; i < depth; ++i)
        text += "}}";
    return text;
}

struct UnreadableCase {
    const char* name;
    std::string keyText;
    std::string valueText;
};

class FileDefaultsUnreadableEntry : public FileDefaultsStoreTest,
                                    public ::testing::WithParamInterface<UnreadableCase> {
  protected:
    /// A file with the case's entry between two readable ones.
    std::string entryText() const { return GetParam().keyText + ": " + GetParam().valueText; }
    void writeFile() const {
        write("{\"corvaneSettings\": {\"data\": \"AQI=\"},\n " + entryText() +
              ",\n \"zzz\": {\"number\": 3}}");
    }
};

// An entry the store cannot read costs neither the others nor itself: the others load, and
// the next write puts it back as it stood, to be found again by the next load.
TEST_P(FileDefaultsUnreadableEntry, IsKeptAsItStood) {
    writeFile();
    {
        UserDefaults defaults(std::make_shared<FileDefaultsStore>(path_));
        EXPECT_EQ(defaults.data("corvaneSettings"), (Data{1, 2}));
        EXPECT_EQ(defaults.object("zzz"), PlistValue(3.0));
        defaults.set("corvaneSettings", Data{3});
    }
    EXPECT_THAT(read(), HasSubstr(entryText()));
    UserDefaults reread(std::make_shared<FileDefaultsStore>(path_));
    EXPECT_EQ(reread.data("corvaneSettings"), (Data{3}));
    EXPECT_EQ(reread.object("zzz"), PlistValue(3.0));
    reread.set("zzz", false);
    EXPECT_THAT(read(), HasSubstr(entryText()));
    EXPECT_THAT(files(), ElementsAre("domain.plist.json"));  // no copy: the file was readable
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileDefaultsUnreadableEntry,
    ::testing::Values(UnreadableCase{"unknownTag", R"("when")", R"({"date": "2026-01-01"})"},
                      UnreadableCase{"numberBeyondDouble", R"("big")", R"({"number": 1e400})"},
                      UnreadableCase{"keyNotUtf8", "\"\xff\xfe\"", R"({"bool": true})"},
                      UnreadableCase{"nestedDeep", R"("deep")", nestedDictionaries(50'000)},
                      UnreadableCase{"notTagged", R"("plain")", R"([1, 2, 3])"}),
    testing::CaseName());

// A value set under the key of an unreadable entry takes its place.
TEST_F(FileDefaultsStoreTest, UnreadableEntryGivesWayToANewValueUnderItsKey) {
    write(R"({"when": {"date": "2026-01-01"}, "k": {"bool": true}})");
    UserDefaults defaults(std::make_shared<FileDefaultsStore>(path_));
    defaults.set("when", 2.0);
    EXPECT_THAT(read(), ::testing::Not(HasSubstr("date")));
    UserDefaults reread(std::make_shared<FileDefaultsStore>(path_));
    EXPECT_EQ(reread.object("when"), PlistValue(2.0));
    EXPECT_EQ(reread.object("k"), PlistValue(true));
}

// A file that cannot be read at all is kept beside as a copy before the first write replaces
// it, with one log line; a second unreadable file later is kept under the next free name.
TEST_F(FileDefaultsStoreTest, UnreadableFileIsKeptBesideBeforeTheFirstWrite) {
    write("{\"half");
    {
        UserDefaults defaults(std::make_shared<FileDefaultsStore>(path_));
        EXPECT_FALSE(defaults.object("k"));
        EXPECT_EQ(read(), "{\"half");  // nothing is written before a change
        defaults.set("k", true);
        defaults.set("k", false);
    }
    EXPECT_EQ(read(path_ + ".unreadable"), "{\"half");
    const auto lines = LogStore::shared().messages();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "UserDefaults: " + path_ + " could not be read; it is kept as " + path_ +
                            ".unreadable");
    UserDefaults reread(std::make_shared<FileDefaultsStore>(path_));
    EXPECT_EQ(reread.object("k"), PlistValue(false));

    write("[]");
    UserDefaults again(std::make_shared<FileDefaultsStore>(path_));
    again.set("k", true);
    EXPECT_EQ(read(path_ + ".unreadable.1"), "[]");
    EXPECT_THAT(files(), ElementsAre("domain.plist.json", "domain.plist.json.unreadable",
                                     "domain.plist.json.unreadable.1"));
}

// Temporary files of saves a crash interrupted are removed at load; nothing else is.
TEST_F(FileDefaultsStoreTest, StaleTemporariesAreRemovedAtLoad) {
    write("{}");
    write("half", path_ + ".tmp.4242");
    write("half", path_ + ".tmp.0123456789abcdef");
    write("{}", (dir_ / "nested" / "other.json").string());
    FileDefaultsStore store(path_);
    (void)store.load();
    EXPECT_THAT(files(), ElementsAre("domain.plist.json", "other.json"));
}

// A save never writes through a link planted where a temporary file name could be guessed
// (the process id, as older saves used).
TEST_F(FileDefaultsStoreTest, SaveFollowsNoPlantedLink) {
    const std::string victim = (dir_ / "victim").string();
    write("precious", victim);
    FileDefaultsStore store(path_);
    (void)store.load();
    std::filesystem::create_symlink(victim, path_ + ".tmp." + std::to_string(::getpid()));
    EXPECT_TRUE(store.persist({{"k", true}}));
    EXPECT_EQ(read(victim), "precious");
    EXPECT_EQ(DefaultsFile::parse(read())->values, (PlistDictionary{{"k", true}}));
}

// A write that cannot happen (a file stands where the folder should be) reports failure,
// keeps memory intact and is logged once, with the folder and the reason.
TEST_F(FileDefaultsStoreTest, FailedWriteKeepsTheValueInMemory) {
    std::filesystem::remove_all(dir_ / "nested");
    write("not a folder", (dir_ / "nested").string());
    auto store = std::make_shared<FileDefaultsStore>(path_);
    EXPECT_FALSE(store->persist({{"k", true}}));
    UserDefaults defaults(store);
    defaults.set("k", true);
    defaults.set("k", false);
    EXPECT_EQ(defaults.object("k"), PlistValue(false));
    EXPECT_EQ(read((dir_ / "nested").string()), "not a folder");
    const auto lines = LogStore::shared().messages();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_THAT(lines[0],
                ::testing::StartsWith("UserDefaults: " + path_ + " cannot be saved: the folder " +
                                      (dir_ / "nested").string() + " cannot be made ("));
}

// A process killed in the middle of saves (100 times, at different points) never leaves a
// file that cannot be read, and the next start leaves no temporary file behind.
TEST_F(FileDefaultsStoreTest, KillsInTheMiddleOfSavesLeaveAReadableFile) {
    int interrupted = 0;
    for (int round = 0; round < 100; ++round) {
        int saved[2];
        ASSERT_EQ(::pipe(saved), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves documents of varying size for ever, telling the parent after each.
            ::close(saved[0]);
            FileDefaultsStore store(path_);
            (void)store.load();
            for (int i = 0;; ++i) {
                const Data data(static_cast<std::size_t>(1 + (i * 977 + round * 131) % 6000),
                                static_cast<std::uint8_t>(i));
                (void)store.persist({{"corvaneSettings", data}, {"count", i}});
                const char byte = 1;
                if (::write(saved[1], &byte, 1) != 1)
                    ::_exit(1);
            }
        }
        ::close(saved[1]);
        char byte = 0;
        for (int i = 0; i < 1 + round % 4; ++i)
            ASSERT_EQ(::read(saved[0], &byte, 1), 1);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(saved[0]);

        if (files().size() > 1)
            ++interrupted;
        const auto file = DefaultsFile::parse(read());
        ASSERT_TRUE(file) << "round " << round;
        EXPECT_TRUE(file->unreadable.empty()) << "round " << round;
        EXPECT_EQ(file->values.count("count"), 1u) << "round " << round;
        FileDefaultsStore next(path_);
        (void)next.load();
        ASSERT_THAT(files(), ElementsAre("domain.plist.json")) << "round " << round;
    }
    RecordProperty("killedWithATemporaryFile", interrupted);
}

}  // namespace
}  // namespace corvane::platform::live
