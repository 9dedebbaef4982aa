#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSWindow.h"
#include "support/SimSession.h"

// What the tests of windows and views share. A test file brings it in at once with
// `using namespace testing::windows;` (and `using testing::PrintTo;` where it prints table
// rows, which a using-directive cannot lend to argument-dependent lookup).

namespace corvane::testing::windows {

using namespace corvane::platform;
using namespace corvane::platform::ui;
using corvane::testing::rt;

/// The hosting view a window opened for a declarative view shows as its content.
inline NSHostingView& hostingView(NSWindow& window) {
    return dynamic_cast<NSHostingView&>(*window.contentView());
}

/// The first element of `kind` labelled `label` (its text or accessibility label) that `host`
/// shows, its popovers and sheets included; fails the test when there is none.
inline ElementHandle element(const NSHostingView& host, const std::string& kind,
                             const std::string& label) {
    auto found = findElement(host.elementsForTesting(), kind, label);
    EXPECT_TRUE(found) << kind << " \"" << label << "\"";
    return found ? *found : ElementHandle(nullptr);
}

/// The same, among what `window`'s hosting view shows.
inline ElementHandle element(NSWindow& window, const std::string& kind, const std::string& label) {
    return element(hostingView(window), kind, label);
}

/// Clicks `handle` and lets the hosts update.
inline void click(const ElementHandle& handle) {
    handle.click();
    rt().runPending();
}

/// A declarative view in a titled, closable window of its own, on screen and drawn.
struct HostingWindow {
    std::shared_ptr<NSWindow> window;
    std::shared_ptr<NSHostingView> host;
};

/// Shows `view` in a window whose content is `size` points large; by default a settings tab's
/// width with its margins, as the settings window shows a tab.
inline HostingWindow showInWindow(View view, CGSize size = {480, 300}) {
    HostingWindow shown{std::make_shared<NSWindow>(CGRectMake(0, 0, size.width, size.height), 3,
                                                   NSBackingStoreType::buffered, false),
                        std::make_shared<NSHostingView>(std::move(view))};
    shown.window->setContentView(shown.host);
    shown.window->makeKeyAndOrderFront();
    rt().runPending();
    return shown;
}

}  // namespace corvane::testing::windows
