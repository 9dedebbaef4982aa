#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "settings/SettingsDocument.h"
#include "settings/SettingsTestSupport.h"

namespace corvane {
namespace {

// Mutates a document the way a damaged or hand-edited file would be: flipped, dropped or
// inserted bytes, cut text, and JSON tokens swapped for others.
std::string mutate(std::string doc, std::mt19937_64& rng) {
    static const std::vector<std::string> tokens = {
        "null",        "true",    "false", "0",        "-1",        "1e400",
        "\"\"",        "[]",      "{}",    "[",        "{",         "]",
        "}",           ",",       ":",     "\"step\"", "\"block\"", "9223372036854775808",
        "\"\\u0000\"", "\xff\xfe"};
    int edits = std::uniform_int_distribution<int>(1, 6)(rng);
    for (int i = 0; i < edits && !doc.empty(); ++i) {
        std::size_t at = rng() % doc.size();
        switch (rng() % 5) {
            case 0:
                doc[at] = static_cast<char>(rng());
                break;
            case 1:
                doc.erase(at, 1 + rng() % 8);
                break;
            case 2:
                doc.insert(at, tokens[rng() % tokens.size()]);
                break;
            case 3:
                doc.resize(at);
                break;
            default: {
                std::size_t len = std::min<std::size_t>(1 + rng() % 6, doc.size() - at);
                doc.replace(at, len, tokens[rng() % tokens.size()]);
            }
        }
    }
    return doc;
}

// Whatever bytes are stored, the reader either decodes a value that writes and reads back
// the same, or fails; it never throws or crashes.
TEST(SettingsReaderFuzz, AnyBytesDecodeOrFail) {
    std::mt19937_64 rng(7);
    std::vector<std::string> seeds = {testing::kDefaultDocument};
    for (int i = 0; i < 8; ++i)
        seeds.push_back(*encodeSettings(testing::randomSettings(rng)));

    int decoded = 0;
    for (int round = 0; round < 40000; ++round) {
        std::string input = round % 10 == 0 ? std::string(rng() % 64, '\0')
                                            : mutate(seeds[rng() % seeds.size()], rng);
        if (round % 10 == 0) {
            for (char& c : input)
                c = static_cast<char>(rng());
        }
        std::optional<CorvaneSettings> result;
        ASSERT_NO_THROW(result = decodeSettings(input)) << input;
        if (!result)
            continue;
        ++decoded;
        auto again = encodeSettings(*result);
        ASSERT_TRUE(again) << input;
        auto reread = decodeSettings(*again);
        ASSERT_TRUE(reread) << *again;
        EXPECT_EQ(encodeSettings(*reread), again);
    }
    // Some mutations (inside numbers, or to unknown members) still decode.
    EXPECT_GT(decoded, 0);
}

}  // namespace
}  // namespace corvane
