#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "JsonText.h"

namespace corvane::session {
namespace {

using nlohmann::ordered_json;

// Times are rounded to the nanosecond before they are written; each must read as the short
// decimal it was rounded to, also where the JSON library's own conversion writes a longer one
// (8.027453166999999 for 8.027453167).
TEST(JsonText, NumbersAreWrittenAsTheirShortestDecimal) {
    const struct {
        double value;
        const char* text;
    } rows[] = {
        {8.027453167, "8.027453167"},
        {2.088828825, "2.088828825"},
        {15.272064737, "15.272064737"},
        {0.45, "0.45"},
        {2.0, "2.0"},
        {-0.5, "-0.5"},
        {1e20, "1e+20"},
        {0.000001, "1e-06"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(jsonText(ordered_json(row.value)), row.text) << ordered_json(row.value).dump();
}

// Everything but a floating-point number is written as the library writes it, members in
// their order.
TEST(JsonText, EverythingElseIsWrittenAsTheLibraryWritesIt) {
    const ordered_json value = ordered_json::parse(
        R"({"t":0.45,"z":[1,-2,true,null,"a\"b\u0001"],"a":{},"e":[],"n":{"x":3.5e-7}})");
    EXPECT_EQ(jsonText(value),
              R"({"t":0.45,"z":[1,-2,true,null,"a\"b\u0001"],"a":{},"e":[],"n":{"x":3.5e-07}})");
    EXPECT_EQ(jsonText(ordered_json(std::nan(""))), "null");
}

}  // namespace
}  // namespace corvane::session
