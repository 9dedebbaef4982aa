#include <gtest/gtest.h>

#include <string>

#include "platform/sim/QuotedText.h"
#include "support/CaseTable.h"

namespace corvane::platform::sim {
namespace {

using testing::PrintTo;

struct EscapeCase {
    const char* name;
    std::string text;
    std::string quoted;  ///< what quotedText writes; withControlsEscaped writes it unquoted
};

const EscapeCase kEscapeCases[] = {
    {"nul", std::string("Gr\0ant", 6), R"("Gr\u0000ant")"},
    {"escape", "a\x1b[0m", R"("a\u001b[0m")"},
    {"line_breaks_and_tab", "a\nb\rc\td", R"("a\nb\rc\td")"},
    {"delete", "a\x7f", R"("a\u007f")"},
    {"stray_byte",
     "a\xff"
     "b",
     R"("a\xffb")"},
    {"continuation_alone", "\x80", R"("\x80")"},
    {"cut_short_sequence", "caf\xc3", R"("caf\xc3")"},
    {"cut_short_before_ascii", "\xe2\x82z", R"("\xe2\x82z")"},
    {"overlong_slash", "\xc0\xaf", R"("\xc0\xaf")"},
    {"surrogate", "\xed\xa0\x80", R"("\xed\xa0\x80")"},
    {"beyond_unicode", "\xf4\x90\x80\x80", R"("\xf4\x90\x80\x80")"},
    {"non_ascii_kept", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80",
     "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""},
};

class EscapedText : public ::testing::TestWithParam<EscapeCase> {};

// Control characters are written as JSON writes them and bytes that are no UTF-8 as `\xff`,
// so that the line is valid UTF-8 and shows every byte; well-formed UTF-8 stays as it is.
TEST_P(EscapedText, ShowsEveryByteAsValidUtf8) {
    const std::string& quoted = GetParam().quoted;
    EXPECT_EQ(quotedText(GetParam().text), quoted);
    EXPECT_EQ(withControlsEscaped(GetParam().text), quoted.substr(1, quoted.size() - 2));
}

INSTANTIATE_TEST_SUITE_P(Table, EscapedText, ::testing::ValuesIn(kEscapeCases),
                         testing::CaseName());

// Only quoting escapes quotes and backslashes: an escaped message keeps the quoted texts in it
// as they were written.
TEST(EscapedText, OnlyQuotingEscapesQuotesAndBackslashes) {
    EXPECT_EQ(quotedText(R"(a"b\c)"), R"("a\"b\\c")");
    EXPECT_EQ(withControlsEscaped(R"(a"b\c)"), R"(a"b\c)");
}

}  // namespace
}  // namespace corvane::platform::sim
