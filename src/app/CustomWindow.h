#pragma once

#include "platform/appkit/NSWindow.h"

namespace corvane {

/// The window of every registered window: it gives the usual Command-key editing shortcuts
/// and swallows Command-Q, so that no window quits the application.
class CustomWindow : public platform::NSWindow {
  public:
    CustomWindow(platform::CGRect contentRect, platform::NSWindowStyleMask styleMask,
                 platform::NSBackingStoreType backing, bool defer)
        : NSWindow(contentRect, styleMask, backing, defer) {}

    /// Command-Q beeps and is handled; Command-V, -C, -X and -A (Shift ignored) ask the
    /// first responder to paste, copy, cut or select all and are handled; everything else
    /// goes to the base class.
    bool performKeyEquivalent(const platform::NSEvent& event) override;
};

}  // namespace corvane
