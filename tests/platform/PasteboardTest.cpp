#include <gtest/gtest.h>

#include "platform/appkit/NSPasteboard.h"
#include "platform/sim/Session.h"

namespace corvane::platform {
namespace {

// The general pasteboard of the simulated session: a clear
// drops every type and counts a change; a string reads back under its type only; a refused
// write leaves the pasteboard as the clear left it.
TEST(PasteboardTest, ClearSetAndReadBack) {
    auto& pasteboard = NSPasteboard::generalPasteboard();
    auto& session = sim::session();
    auto* sim = &session.pasteboard();
    EXPECT_EQ(pasteboard.stringForType(NSPasteboardTypeString), std::nullopt);
    EXPECT_TRUE(pasteboard.setString("old", "public.html"));

    EXPECT_EQ(pasteboard.clearContents(), 1);
    EXPECT_EQ(pasteboard.stringForType("public.html"), std::nullopt);
    EXPECT_TRUE(pasteboard.setString("line 1\nline 2 \u2014 \u00e9", NSPasteboardTypeString));
    EXPECT_EQ(sim->stringForType(NSPasteboardTypeString), "line 1\nline 2 \u2014 \u00e9");

    EXPECT_EQ(pasteboard.clearContents(), 2);
    session.setPasteboardWriteRefused(true);
    EXPECT_FALSE(pasteboard.setString("lost", NSPasteboardTypeString));
    EXPECT_EQ(pasteboard.stringForType(NSPasteboardTypeString), std::nullopt);
    EXPECT_EQ(sim->changeCount(), 2);
}

}  // namespace
}  // namespace corvane::platform
