#include <gtest/gtest.h>

#include "platform/appkit/NSPasteboard.h"
#include "platform/qt/QtPasteboard.h"

namespace corvane::platform {
namespace {

// The live pasteboard is the desktop clipboard: plain text goes there and reads back; a
// clear empties it; other types are refused.
TEST(QtPasteboardTest, PlainTextThroughTheClipboard) {
    qt::QtPasteboard pasteboard;
    EXPECT_EQ(pasteboard.clearContents(), 1);
    EXPECT_TRUE(pasteboard.setString("Corvane 1.0.0 (1) \u2014 report", NSPasteboardTypeString));
    EXPECT_EQ(pasteboard.stringForType(NSPasteboardTypeString), "Corvane 1.0.0 (1) \u2014 report");
    EXPECT_FALSE(pasteboard.setString("<b>x</b>", "public.html"));
    EXPECT_EQ(pasteboard.stringForType("public.html"), std::nullopt);
    pasteboard.clearContents();
    EXPECT_EQ(pasteboard.stringForType(NSPasteboardTypeString), std::nullopt);
}

}  // namespace
}  // namespace corvane::platform
