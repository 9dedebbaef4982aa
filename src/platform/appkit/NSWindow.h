#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/appkit/Geometry.h"
#include "platform/appkit/NSToolbar.h"
#include "platform/appkit/NSView.h"
#include "platform/appkit/NSViewController.h"
#include "platform/appkit/Responder.h"
#include "platform/ui/Style.h"

namespace corvane::platform {

using NSWindowStyleMask = std::uint64_t;
constexpr NSWindowStyleMask NSWindowStyleMaskBorderless = 0;
constexpr NSWindowStyleMask NSWindowStyleMaskTitled = 1 << 0;
constexpr NSWindowStyleMask NSWindowStyleMaskClosable = 1 << 1;
constexpr NSWindowStyleMask NSWindowStyleMaskMiniaturizable = 1 << 2;
constexpr NSWindowStyleMask NSWindowStyleMaskResizable = 1 << 3;

enum class NSBackingStoreType { retained = 0, nonretained = 1, buffered = 2 };

using NSWindowLevel = int;
constexpr NSWindowLevel NSNormalWindowLevel = 0;
constexpr NSWindowLevel NSFloatingWindowLevel = 3;

enum class NSWindowTitleVisibility { visible, hidden };
enum class NSTitlebarSeparatorStyle { automatic, none, line, shadow };
enum class NSWindowToolbarStyle { automatic, expanded, preference, unified, unifiedCompact };

/// Posted on the default notification centre when a window is about to close; the user
/// info's "windowNumber" names the window.
inline const std::string NSWindowWillCloseNotification = "NSWindowWillCloseNotification";

class NSWindow;

/// Animatable properties of a window; set inside an animation group they animate over the
/// group's duration, elsewhere they change at once.
class NSWindowAnimator {
  public:
    explicit NSWindowAnimator(NSWindow& window) : window_(window) {}
    void setAlphaValue(double alpha);

  private:
    NSWindow& window_;
};

/// A window of the application. Frames are in screen points with the origin at the bottom
/// left of the main screen, y growing upwards. Make windows with `std::make_shared`: while a
/// window is on screen the application keeps it alive, and drops it when it is ordered out
/// or closed.
class NSWindow : public NSResponder, public std::enable_shared_from_this<NSWindow> {
  public:
    struct Impl;

    NSWindow(CGRect contentRect, NSWindowStyleMask styleMask, NSBackingStoreType backing,
             bool defer);
    ~NSWindow() override;
    NSWindow(const NSWindow&) = delete;
    NSWindow& operator=(const NSWindow&) = delete;

    /// A number unique to this window in the process.
    int windowNumber() const { return windowNumber_; }
    NSWindowStyleMask styleMask() const;

    const std::string& title() const;
    void setTitle(std::string title);
    NSWindowTitleVisibility titleVisibility() const;
    void setTitleVisibility(NSWindowTitleVisibility visibility);
    bool titlebarAppearsTransparent() const;
    void setTitlebarAppearsTransparent(bool transparent);
    NSTitlebarSeparatorStyle titlebarSeparatorStyle() const;
    void setTitlebarSeparatorStyle(NSTitlebarSeparatorStyle style);
    const std::shared_ptr<NSToolbar>& toolbar() const;
    void setToolbar(std::shared_ptr<NSToolbar> toolbar);
    NSWindowToolbarStyle toolbarStyle() const;
    void setToolbarStyle(NSWindowToolbarStyle style);

    /// The content view controller; setting one makes its view the content view and sizes
    /// the window's content to the view's fitting size.
    const std::shared_ptr<NSViewController>& contentViewController() const;
    void setContentViewController(std::shared_ptr<NSViewController> controller);
    const std::shared_ptr<NSView>& contentView() const;
    void setContentView(std::shared_ptr<NSView> view);
    /// Resizes the window so that its content is `size`, keeping the top-left corner.
    void setContentSize(CGSize size);
    CGSize contentSize() const;

    CGRect frame() const;
    /// Moves and sizes the window. With `animate` the window is drawn moving to it over
    /// `animationResizeTime` on the main queue's clock; the frame read back is the new one at
    /// once.
    void setFrame(CGRect frame, bool display, bool animate = false);
    /// Seconds an animated change from the frame drawn now to `frame` takes: 0.2 for every
    /// 150 points of the largest change of an edge.
    double animationResizeTime(CGRect frame) const;
    /// The frame drawn now: during an animated change, the step on screen.
    CGRect presentedFrame() const;
    void setFrameOrigin(CGPoint origin);
    /// The frame that holds a content rectangle of `contentRect` (adds the title bar).
    CGRect frameRectForContentRect(CGRect contentRect) const;
    CGRect contentRectForFrameRect(CGRect frameRect) const;

    NSWindowLevel level() const;
    void setLevel(NSWindowLevel level);
    bool isReleasedWhenClosed() const;
    void setReleasedWhenClosed(bool released);
    bool isOpaque() const;
    void setOpaque(bool opaque);
    ui::Color backgroundColor() const;
    void setBackgroundColor(ui::Color color);
    /// A window that ignores mouse events lets clicks through to what lies beneath.
    bool ignoresMouseEvents() const;
    void setIgnoresMouseEvents(bool ignores);
    double alphaValue() const;
    void setAlphaValue(double alpha);
    NSWindowAnimator animator() { return NSWindowAnimator(*this); }

    /// Centres the window horizontally on the main screen's visible frame, somewhat above
    /// the middle vertically.
    void center();
    void makeKeyAndOrderFront();
    void orderFront();
    /// Orders the window front even while the application is not active.
    void orderFrontRegardless();
    void orderOut();
    bool isVisible() const;
    bool isKeyWindow() const;
    /// Posts `NSWindowWillCloseNotification`, then removes the window from the screen.
    void close();
    /// What the title bar's close button does: `close`.
    void performClose();

    NSResponder* firstResponder() const;
    /// Makes `responder` (or, with null, the window itself) the first responder.
    bool makeFirstResponder(NSResponder* responder);

    /// Offers a key event as a key equivalent; true when something handled it. The base
    /// answer triggers the enabled button of the window's content whose keyboard shortcut
    /// matches the event, if any.
    virtual bool performKeyEquivalent(const NSEvent& event);
    /// Delivers an event as the application does: a key-down is first offered to
    /// `performKeyEquivalent`, then sent to the first responder.
    void sendEvent(const NSEvent& event);

    Impl& impl() const { return *impl_; }

  private:
    friend class NSWindowAnimator;
    int windowNumber_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvane::platform
