#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>

#include "settings/SettingsDocument.h"
#include "settings/SettingsTestSupport.h"
#include "support/CaseTable.h"

namespace corvane {
namespace {

using testing::PrintTo;

using nlohmann::json;
using testing::kDefaultDocument;

json defaultJson() {
    return json::parse(kDefaultDocument);
}

CorvaneSettings decodeJson(const json& j) {
    auto decoded = decodeSettings(j.dump());
    EXPECT_TRUE(decoded.has_value()) << j.dump();
    return decoded.value_or(CorvaneSettings{});
}

json exceptionJson(const std::string& bundleId) {
    return json{{"bundleId", bundleId},
                {"scrollBase", {{"smooth", false}, {"horizontalSmooth", true}, {"reverse", true}}},
                {"scrollAdvanced",
                 {{"block", {55}},
                  {"step", 40},
                  {"duration", 200},
                  {"accelerationThreshold", 10},
                  {"accelerationLimit", 2},
                  {"smoothness", 5}}},
                {"inherit", false}};
}

// The default value is written compactly, every member in field order, nothing left out.
TEST(SettingsDocumentWriter, WritesTheDefaultDocumentInFieldOrder) {
    EXPECT_EQ(encodeSettings(CorvaneSettings{}), kDefaultDocument);
}

// An exception's members are written in their field order, inside the list, in list order.
TEST(SettingsDocumentWriter, WritesExceptionsInListOrder) {
    CorvaneSettings s;
    s.appSettings.exceptionalApplication = {
        std::make_shared<ExceptionalApplication>("com.b"),
        std::make_shared<ExceptionalApplication>("com.a", ScrollBase{false, true, false},
                                                 ScrollAdvanced{}, false)};
    auto text = encodeSettings(s);
    ASSERT_TRUE(text);
    EXPECT_THAT(
        *text,
        ::testing::HasSubstr(
            R"("exceptionalApplication":[{"bundleId":"com.b","scrollBase":{"smooth":true,)"));
    EXPECT_THAT(*text,
                ::testing::HasSubstr(R"("smoothness":30.0},"inherit":true},{"bundleId":"com.a")"));
    EXPECT_THAT(*text, ::testing::HasSubstr(R"("smoothness":30.0},"inherit":false}])"));
}

/// The document as a dump of the whole JSON tree built member by member, the way the store
/// first wrote it: the writer must write the same text byte for byte.
std::string treeDump(const CorvaneSettings& s) {
    using nlohmann::ordered_json;
    auto base = [](const ScrollBase& b) {
        ordered_json j = ordered_json::object();
        j["smooth"] = b.smooth;
        j["horizontalSmooth"] = b.horizontalSmooth;
        j["reverse"] = b.reverse;
        return j;
    };
    auto advanced = [](const ScrollAdvanced& a) {
        ordered_json j = ordered_json::object();
        j["block"] = a.block;
        j["step"] = a.step;
        j["duration"] = a.duration;
        j["accelerationThreshold"] = a.accelerationThreshold;
        j["accelerationLimit"] = a.accelerationLimit;
        j["smoothness"] = a.smoothness;
        return j;
    };
    ordered_json list = ordered_json::array();
    for (const auto& e : s.appSettings.exceptionalApplication) {
        ordered_json j = ordered_json::object();
        j["bundleId"] = e->bundleId();
        j["scrollBase"] = base(e->scrollBase());
        j["scrollAdvanced"] = advanced(e->scrollAdvanced());
        j["inherit"] = e->inherit();
        list.push_back(std::move(j));
    }
    ordered_json app = ordered_json::object();
    app["launchAtLogin"] = s.appSettings.launchAtLogin;
    app["showMenuIcon"] = s.appSettings.showMenuIcon;
    app["exceptionalApplication"] = std::move(list);
    app["showScrollHelperText"] = s.appSettings.showScrollHelperText;
    app["showSystemHelperText"] = s.appSettings.showSystemHelperText;
    ordered_json j = ordered_json::object();
    j["appSettings"] = std::move(app);
    j["scrollBase"] = base(s.scrollBase);
    j["scrollAdvanced"] = advanced(s.scrollAdvanced);
    return j.dump();
}

// The text is that of a dump of the whole tree for any document: the defaults, odd numbers
// (tiny, huge, negative zero, integral), empty, long and large block lists, names that need
// escaping, and many exceptions with random values.
TEST(SettingsDocumentWriter, WritesWhatADumpOfTheWholeTreeWrites) {
    const std::vector<double> odd = {
        0.1,  1e-7,   1e300,  -0.0,          0,       -1.5,  90,
        1e21, 1e-300, 5e-324, 123456789.125, 1.0 / 3, -1e16, std::numeric_limits<double>::max()};
    std::vector<CorvaneSettings> documents(3);
    for (std::size_t i = 0; i + 4 < odd.size(); ++i) {
        CorvaneSettings s;
        s.scrollAdvanced =
            ScrollAdvanced{{}, odd[i], odd[i + 1], odd[i + 2], odd[i + 3], odd[i + 4]};
        s.appSettings.exceptionalApplication = {std::make_shared<ExceptionalApplication>(
            "com.\"quoted\"\\tab\t\u00e9\u2603\x01", ScrollBase{false, false, true},
            ScrollAdvanced{{std::numeric_limits<std::int64_t>::min(), -1, 0,
                            std::numeric_limits<std::int64_t>::max()},
                           odd[i + 4],
                           odd[i + 3],
                           odd[i + 2],
                           odd[i + 1],
                           odd[i]},
            i % 2 == 0)};
        documents.push_back(std::move(s));
    }
    documents[1].appSettings.launchAtLogin = true;
    documents[1].appSettings.showSystemHelperText = false;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> number(-1e6, 1e6);
    for (int i = 0; i < 3000; ++i) {
        ScrollAdvanced a{std::vector<std::int64_t>(static_cast<std::size_t>(i % 4), i),
                         number(random),
                         number(random),
                         number(random),
                         std::ldexp(number(random), i % 80 - 40),
                         static_cast<double>(i)};
        documents[2].appSettings.exceptionalApplication.push_back(
            std::make_shared<ExceptionalApplication>("com.example.app" + std::to_string(i),
                                                     ScrollBase{i % 2 == 0, i % 3 == 0, i % 5 == 0},
                                                     a, i % 7 == 0));
    }
    for (const auto& document : documents)
        EXPECT_EQ(encodeSettings(document), treeDump(document));
}

// A name that is not UTF-8 cannot be written: the store skips the save.
TEST(SettingsDocumentWriter, RefusesANameThatIsNotUtf8) {
    CorvaneSettings s;
    s.appSettings.exceptionalApplication = {std::make_shared<ExceptionalApplication>("com.\xff")};
    EXPECT_FALSE(encodeSettings(s));
}

// JSON has no infinities or NaN: such a value cannot be encoded, so the store skips the save.
TEST(SettingsDocumentWriter, RefusesNonFiniteNumbers) {
    for (double bad : {std::numeric_limits<double>::infinity(), std::nan("")}) {
        CorvaneSettings global;
        global.scrollAdvanced.step = bad;
        EXPECT_FALSE(encodeSettings(global));

        CorvaneSettings inException;
        ScrollAdvanced a;
        a.smoothness = -bad;
        inException.appSettings.exceptionalApplication = {
            std::make_shared<ExceptionalApplication>("com.x", ScrollBase{}, a, true)};
        EXPECT_FALSE(encodeSettings(inException));
    }
}

// Every subset of the six scrollAdvanced members may be missing or null; each absent member
// takes its own default and the present ones keep their stored values.
TEST(SettingsDocumentReader, EachScrollAdvancedMemberDefaultsOnItsOwn) {
    const json stored = {{"block", {1, 2}},         {"step", 11},
                         {"duration", 22},          {"accelerationThreshold", 33},
                         {"accelerationLimit", 44}, {"smoothness", 55}};
    const ScrollAdvanced defaults;
    const std::vector<std::string> names = {
        "block", "step", "duration", "accelerationThreshold", "accelerationLimit", "smoothness"};
    for (bool asNull : {false, true}) {
        for (unsigned mask = 0; mask < 64; ++mask) {
            json advanced = stored;
            for (std::size_t i = 0; i < names.size(); ++i) {
                if ((mask & (1u << i)) == 0)
                    continue;
                if (asNull) {
                    advanced[names[i]] = nullptr;
                } else {
                    advanced.erase(names[i]);
                }
            }
            json doc = defaultJson();
            doc["scrollAdvanced"] = advanced;
            doc["appSettings"]["exceptionalApplication"] = json::array({exceptionJson("com.e")});
            doc["appSettings"]["exceptionalApplication"][0]["scrollAdvanced"] = advanced;

            CorvaneSettings s = decodeJson(doc);
            auto gone = [&](std::size_t i) { return (mask & (1u << i)) != 0; };
            const ScrollAdvanced* both[] = {
                &s.scrollAdvanced, &s.appSettings.exceptionalApplication.at(0)->scrollAdvanced()};
            for (const ScrollAdvanced* a : both) {
                SCOPED_TRACE(::testing::Message()
                             << "mask " << mask << (asNull ? " null" : " missing"));
                EXPECT_EQ(a->block, gone(0) ? defaults.block : std::vector<std::int64_t>({1, 2}));
                EXPECT_EQ(a->step, gone(1) ? defaults.step : 11);
                EXPECT_EQ(a->duration, gone(2) ? defaults.duration : 22);
                EXPECT_EQ(a->accelerationThreshold, gone(3) ? defaults.accelerationThreshold : 33);
                EXPECT_EQ(a->accelerationLimit, gone(4) ? defaults.accelerationLimit : 44);
                EXPECT_EQ(a->smoothness, gone(5) ? defaults.smoothness : 55);
            }
        }
    }
}

// An exception whose scrollAdvanced is empty gets the defaults for itself alone.
TEST(SettingsDocumentReader, EmptyExceptionParametersDefaultForThatExceptionOnly) {
    json doc = defaultJson();
    doc["scrollAdvanced"]["step"] = 120;
    json e = exceptionJson("com.e");
    e["scrollAdvanced"] = json::object();
    doc["appSettings"]["exceptionalApplication"] = json::array({e, exceptionJson("com.f")});
    CorvaneSettings s = decodeJson(doc);
    EXPECT_EQ(s.scrollAdvanced.step, 120);
    EXPECT_EQ(s.appSettings.exceptionalApplication[0]->scrollAdvanced(), ScrollAdvanced{});
    EXPECT_EQ(s.appSettings.exceptionalApplication[1]->scrollAdvanced().step, 40);
    EXPECT_FALSE(s.appSettings.exceptionalApplication[0]->inherit());
}

struct BrokenDocument {
    const char* name;
    std::function<std::string()> make;
};

std::string edited(const std::function<void(json&)>& edit) {
    json doc = defaultJson();
    doc["appSettings"]["exceptionalApplication"] = json::array({exceptionJson("com.e")});
    edit(doc);
    return doc.dump();
}

json& firstException(json& doc) {
    return doc["appSettings"]["exceptionalApplication"][0];
}

class SettingsDocumentReaderFailure : public ::testing::TestWithParam<BrokenDocument> {};

// A required member missing or null, a member of the wrong JSON type anywhere, or text that
// is not one settings object fails the whole decode.
TEST_P(SettingsDocumentReaderFailure, FailsTheWholeDecode) {
    EXPECT_FALSE(decodeSettings(GetParam().make()).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsDocumentReaderFailure,
    ::testing::Values(
        BrokenDocument{"empty", [] { return std::string(); }},
        BrokenDocument{"not_json", [] { return std::string("{appSettings:"); }},
        BrokenDocument{"string_document", [] { return std::string(R"("corvane")"); }},
        BrokenDocument{"array_document", [] { return std::string("[]"); }},
        BrokenDocument{"trailing_garbage", [] { return kDefaultDocument + "x"; }},
        BrokenDocument{
            "missing_showSystemHelperText",
            [] { return edited([](json& d) { d["appSettings"].erase("showSystemHelperText"); }); }},
        BrokenDocument{
            "missing_showMenuIcon",
            [] { return edited([](json& d) { d["appSettings"].erase("showMenuIcon"); }); }},
        BrokenDocument{
            "null_launchAtLogin",
            [] { return edited([](json& d) { d["appSettings"]["launchAtLogin"] = nullptr; }); }},
        BrokenDocument{"missing_scrollBase",
                       [] { return edited([](json& d) { d.erase("scrollBase"); }); }},
        BrokenDocument{"null_scrollAdvanced",
                       [] { return edited([](json& d) { d["scrollAdvanced"] = nullptr; }); }},
        BrokenDocument{"missing_exception_list",
                       [] {
                           return edited(
                               [](json& d) { d["appSettings"].erase("exceptionalApplication"); });
                       }},
        BrokenDocument{"exception_list_object",
                       [] {
                           return edited([](json& d) {
                               d["appSettings"]["exceptionalApplication"] = json::object();
                           });
                       }},
        BrokenDocument{"exception_missing_inherit",
                       [] { return edited([](json& d) { firstException(d).erase("inherit"); }); }},
        BrokenDocument{"exception_missing_bundleId",
                       [] { return edited([](json& d) { firstException(d).erase("bundleId"); }); }},
        BrokenDocument{"exception_bundleId_number",
                       [] { return edited([](json& d) { firstException(d)["bundleId"] = 3; }); }},
        BrokenDocument{"exception_not_object",
                       [] { return edited([](json& d) { firstException(d) = "com.e"; }); }},
        BrokenDocument{"exception_step_string",
                       [] {
                           return edited(
                               [](json& d) { firstException(d)["scrollAdvanced"]["step"] = "40"; });
                       }},
        BrokenDocument{"step_string",
                       [] { return edited([](json& d) { d["scrollAdvanced"]["step"] = "90"; }); }},
        BrokenDocument{"step_bool",
                       [] { return edited([](json& d) { d["scrollAdvanced"]["step"] = true; }); }},
        BrokenDocument{"step_beyond_double",
                       [] {
                           std::string s = kDefaultDocument;
                           s.replace(s.find("90.0"), 4, "1e400");
                           return s;
                       }},
        BrokenDocument{"smooth_number",
                       [] { return edited([](json& d) { d["scrollBase"]["smooth"] = 1; }); }},
        BrokenDocument{
            "reverse_string",
            [] { return edited([](json& d) { d["scrollBase"]["reverse"] = "false"; }); }},
        BrokenDocument{"block_not_array",
                       [] { return edited([](json& d) { d["scrollAdvanced"]["block"] = 55; }); }},
        BrokenDocument{
            "block_fraction",
            [] { return edited([](json& d) { d["scrollAdvanced"]["block"] = {55.5}; }); }},
        BrokenDocument{
            "block_null_entry",
            [] { return edited([](json& d) {
                     d["scrollAdvanced"]["block"] = {55, nullptr};
                 }); }},
        BrokenDocument{"block_beyond_int64",
                       [] {
                           return edited([](json& d) {
                               d["scrollAdvanced"]["block"] = {9223372036854775808ULL};
                           });
                       }},
        BrokenDocument{"scrollBase_array",
                       [] { return edited([](json& d) { d["scrollBase"] = json::array(); }); }}),
    testing::CaseName());

// Unknown members anywhere are ignored; member order does not matter.
TEST(SettingsDocumentReader, IgnoresUnknownMembersAndOrder) {
    json doc = defaultJson();
    doc["version"] = 2;
    doc["appSettings"]["theme"] = "dark";
    doc["scrollBase"]["extra"] = json::array({1, "x"});
    doc["scrollAdvanced"]["curve"] = nullptr;
    json e = exceptionJson("com.e");
    e["note"] = json::object();
    e["scrollAdvanced"]["bogus"] = "yes";
    doc["appSettings"]["exceptionalApplication"] = json::array({e});
    // nlohmann::json keeps members sorted by name, so this text is in another order too.
    CorvaneSettings s = decodeJson(doc);
    EXPECT_EQ(s.scrollAdvanced, ScrollAdvanced{});
    ASSERT_EQ(s.appSettings.exceptionalApplication.size(), 1u);
    EXPECT_EQ(s.appSettings.exceptionalApplication[0]->scrollAdvanced().step, 40);
}

// Two exceptions with one bundle identifier are both kept, in stored order, and equal.
TEST(SettingsDocumentReader, KeepsDuplicateExceptionsInOrder) {
    json first = exceptionJson("com.same");
    json second = exceptionJson("com.same");
    second["scrollAdvanced"]["step"] = 77;
    json doc = defaultJson();
    doc["appSettings"]["exceptionalApplication"] = json::array({first, second});
    CorvaneSettings s = decodeJson(doc);
    ASSERT_EQ(s.appSettings.exceptionalApplication.size(), 2u);
    EXPECT_EQ(s.appSettings.exceptionalApplication[0]->scrollAdvanced().step, 40);
    EXPECT_EQ(s.appSettings.exceptionalApplication[1]->scrollAdvanced().step, 77);
    EXPECT_TRUE(*s.appSettings.exceptionalApplication[0] ==
                *s.appSettings.exceptionalApplication[1]);
}

// Any JSON number reads as a double; integers of the block list keep their full 64 bits.
TEST(SettingsDocumentReader, AcceptsAnyNumberForTheDoubles) {
    json doc = defaultJson();
    doc["scrollAdvanced"]["step"] = 12;
    doc["scrollAdvanced"]["duration"] = 1.5e2;
    doc["scrollAdvanced"]["block"] = {INT64_MIN, INT64_MAX, 0};
    CorvaneSettings s = decodeJson(doc);
    EXPECT_EQ(s.scrollAdvanced.step, 12);
    EXPECT_EQ(s.scrollAdvanced.duration, 150);
    EXPECT_EQ(s.scrollAdvanced.block, (std::vector<std::int64_t>{INT64_MIN, INT64_MAX, 0}));
}

// Decoding the encoded document gives back every field of every exception, not only what
// equality compares.
TEST(SettingsDocumentRoundTrip, RandomValuesComeBackWhole) {
    std::mt19937_64 rng(20261210);
    for (int round = 0; round < 300; ++round) {
        CorvaneSettings original = testing::randomSettings(rng);
        auto text = encodeSettings(original);
        ASSERT_TRUE(text);
        auto decoded = decodeSettings(*text);
        ASSERT_TRUE(decoded) << *text;
        EXPECT_EQ(*decoded, original);
        EXPECT_EQ(decoded->scrollBase, original.scrollBase);
        EXPECT_EQ(decoded->scrollAdvanced, original.scrollAdvanced);
        const auto& a = original.appSettings.exceptionalApplication;
        const auto& b = decoded->appSettings.exceptionalApplication;
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) {
            EXPECT_EQ(b[i]->bundleId(), a[i]->bundleId());
            EXPECT_EQ(b[i]->scrollBase(), a[i]->scrollBase());
            EXPECT_EQ(b[i]->scrollAdvanced(), a[i]->scrollAdvanced());
            EXPECT_EQ(b[i]->inherit(), a[i]->inherit());
        }
        EXPECT_EQ(encodeSettings(*decoded), text);
    }
}

}  // namespace
}  // namespace corvane
