#pragma once

namespace corvane::platform {

class NSHostingView;
class NSWindow;

/// The hosting view whose elements `window` shows now: its content view, or the pane of
/// the selected tab when its content is a tab view controller; null when it shows none.
NSHostingView* shownHostingView(NSWindow& window);

}  // namespace corvane::platform
