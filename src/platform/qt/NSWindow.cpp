// Windows on Qt: each shows in a frameless top-level widget (WindowWidget) that draws its
// own title bar; frames are kept in screen points and mapped to the widget's geometry.
#include <QGuiApplication>
#include <algorithm>
#include <cmath>

#include "platform/appkit/NSApplication.h"
#include "platform/appkit/NSScreen.h"
#include "platform/appkit/NSWindow.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/qt/NSWindowImpl.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/ViewImpl.h"

namespace corvane::platform {

using qt::WindowWidget;

namespace {

int nextWindowNumber = 1;

/// Seconds an animated frame change takes for every 150 points the frame changes by.
constexpr double kResizeTimePer150Points = 0.2;

// The offscreen platform has no window manager: no stacking order, no window opacity.
bool hasWindowManager() {
    return QGuiApplication::platformName() != "offscreen";
}

double titlebarHeightFor(const NSWindow& window) {
    if ((window.styleMask() & NSWindowStyleMaskTitled) == 0)
        return 0;
    if (!window.toolbar())
        return 28;
    switch (window.toolbarStyle()) {
        case NSWindowToolbarStyle::unifiedCompact:
            return 38;
        case NSWindowToolbarStyle::unified:
            return 52;
        default:
            return 78;
    }
}

}  // namespace

NSWindow::NSWindow(CGRect contentRect, NSWindowStyleMask styleMask, NSBackingStoreType backing,
                   bool defer)
    : windowNumber_(nextWindowNumber++), impl_(std::make_unique<Impl>()) {
    (void)backing;  // every window is buffered here
    (void)defer;
    qt::ensureQtApplication();
    impl_->styleMask = styleMask;
    impl_->widget = new WindowWidget(*this);
    impl_->widget->titlebarHeight = titlebarHeightFor(*this);
    impl_->frame = frameRectForContentRect(contentRect);
    impl_->presentedFrame = impl_->frame;
    impl_->firstResponder = this;
    impl().widget->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
}

NSWindow::~NSWindow() {
    if (impl_->contentView && impl_->contentView->impl().widget) {
        impl_->contentView->impl().widget->setParent(nullptr);
        impl_->contentView->impl().window = nullptr;
    }
    delete impl_->widget.data();
}

namespace {

/// Draws the window at its frame, ending any animated frame change.
void syncGeometry(NSWindow& window) {
    ++window.impl().frameAnimation;
    presentWindowFrame(window, window.impl().frame);
}

void syncFlags(NSWindow& window) {
    auto& impl = window.impl();
    if (!impl.widget)
        return;
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (impl.level >= NSFloatingWindowLevel)
        flags |= Qt::WindowStaysOnTopHint;
    if (impl.ignoresMouse)
        flags |= Qt::WindowTransparentForInput;
    if (impl.styleMask == NSWindowStyleMaskBorderless)
        flags |= Qt::Tool;
    if (impl.widget->windowFlags() == flags)
        return;
    const bool shown = impl.widget->isVisible();
    impl.widget->setWindowFlags(flags);
    if (shown)
        impl.widget->show();
}

}  // namespace

void presentWindowFrame(NSWindow& window, CGRect f) {
    auto& impl = window.impl();
    impl.presentedFrame = f;
    if (!impl.widget)
        return;
    const auto screen = NSScreen::mainScreen();
    const double top = screen ? CGRectGetMaxY(screen->frame) : CGRectGetMaxY(f);
    impl.widget->titlebarHeight = titlebarHeightFor(window);
    impl.widget->setGeometry(static_cast<int>(std::lround(f.origin.x)),
                             static_cast<int>(std::lround(top - CGRectGetMaxY(f))),
                             static_cast<int>(std::lround(f.width)),
                             static_cast<int>(std::lround(f.height)));
    if (impl.contentView && impl.contentView->impl().widget) {
        const double bar = impl.widget->titlebarHeight;
        impl.contentView->impl().widget->setGeometry(0, static_cast<int>(bar),
                                                     static_cast<int>(std::lround(f.width)),
                                                     static_cast<int>(std::lround(f.height - bar)));
    }
    impl.widget->update();
}

NSWindowStyleMask NSWindow::styleMask() const {
    return impl_->styleMask;
}
const std::string& NSWindow::title() const {
    return impl_->title;
}
void NSWindow::setTitle(std::string title) {
    impl_->title = std::move(title);
    if (impl_->widget) {
        impl_->widget->setWindowTitle(QString::fromStdString(impl_->title));
        impl_->widget->update();
    }
}
NSWindowTitleVisibility NSWindow::titleVisibility() const {
    return impl_->titleVisibility;
}
void NSWindow::setTitleVisibility(NSWindowTitleVisibility v) {
    impl_->titleVisibility = v;
}
bool NSWindow::titlebarAppearsTransparent() const {
    return impl_->titlebarTransparent;
}
void NSWindow::setTitlebarAppearsTransparent(bool t) {
    impl_->titlebarTransparent = t;
}
NSTitlebarSeparatorStyle NSWindow::titlebarSeparatorStyle() const {
    return impl_->separatorStyle;
}
void NSWindow::setTitlebarSeparatorStyle(NSTitlebarSeparatorStyle s) {
    impl_->separatorStyle = s;
}
const std::shared_ptr<NSToolbar>& NSWindow::toolbar() const {
    return impl_->toolbar;
}
void NSWindow::setToolbar(std::shared_ptr<NSToolbar> toolbar) {
    const CGSize content = contentSize();
    if (impl_->toolbar)
        impl_->toolbar->setChangeHandler({});
    impl_->toolbar = std::move(toolbar);
    if (impl_->toolbar) {
        QPointer<WindowWidget> widget = impl_->widget;
        impl_->toolbar->setChangeHandler([widget] {
            if (widget)
                widget->update();
        });
    }
    setContentSize(content);
}
NSWindowToolbarStyle NSWindow::toolbarStyle() const {
    return impl_->toolbarStyle;
}
void NSWindow::setToolbarStyle(NSWindowToolbarStyle style) {
    const CGSize content = contentSize();
    impl_->toolbarStyle = style;
    setContentSize(content);
}

const std::shared_ptr<NSViewController>& NSWindow::contentViewController() const {
    return impl_->contentViewController;
}
void NSWindow::setContentViewController(std::shared_ptr<NSViewController> controller) {
    impl_->contentViewController = std::move(controller);
    if (!impl_->contentViewController)
        return;
    auto view = impl_->contentViewController->sharedView();
    setContentView(view);
    setContentSize(view->fittingSize());
}
const std::shared_ptr<NSView>& NSWindow::contentView() const {
    return impl_->contentView;
}
void NSWindow::setContentView(std::shared_ptr<NSView> view) {
    if (impl_->contentView == view)
        return;
    if (impl_->contentView && impl_->contentView->impl().widget) {
        impl_->contentView->impl().widget->setParent(nullptr);
        impl_->contentView->impl().window = nullptr;
    }
    impl_->contentView = std::move(view);
    if (impl_->contentView && impl_->contentView->impl().widget) {
        impl_->contentView->impl().widget->setParent(impl_->widget);
        impl_->contentView->impl().widget->show();
        impl_->contentView->impl().window = this;
    }
    syncGeometry(*this);
}
void NSWindow::setContentSize(CGSize size) {
    const double top = CGRectGetMaxY(impl_->frame);
    CGRect frame =
        frameRectForContentRect(CGRectMake(impl_->frame.origin.x, 0, size.width, size.height));
    frame.origin.y = top - frame.height;
    impl_->frame = frame;
    syncGeometry(*this);
}
CGSize NSWindow::contentSize() const {
    return sizeOf(contentRectForFrameRect(impl_->frame));
}

CGRect NSWindow::frame() const {
    return impl_->frame;
}
void NSWindow::setFrame(CGRect frame, bool display, bool animate) {
    (void)display;
    impl_->frame = frame;
    const double duration = animate ? animationResizeTime(frame) : 0;
    if (duration <= 0 || impl_->presentedFrame == frame) {
        syncGeometry(*this);
        return;
    }
    animateWindowFrame(*this, duration);
}
double NSWindow::animationResizeTime(CGRect frame) const {
    const CGRect from = impl_->presentedFrame;
    const double change = std::max(
        {std::abs(frame.width - from.width), std::abs(frame.height - from.height),
         std::abs(frame.origin.x - from.origin.x), std::abs(frame.origin.y - from.origin.y)});
    return kResizeTimePer150Points * change / 150;
}
CGRect NSWindow::presentedFrame() const {
    return impl_->presentedFrame;
}
void NSWindow::setFrameOrigin(CGPoint origin) {
    impl_->frame.origin = origin;
    syncGeometry(*this);
}
CGRect NSWindow::frameRectForContentRect(CGRect r) const {
    r.height += titlebarHeightFor(*this);
    return r;
}
CGRect NSWindow::contentRectForFrameRect(CGRect r) const {
    r.height = std::max(0.0, r.height - titlebarHeightFor(*this));
    return r;
}

NSWindowLevel NSWindow::level() const {
    return impl_->level;
}
void NSWindow::setLevel(NSWindowLevel level) {
    impl_->level = level;
    syncFlags(*this);
}
bool NSWindow::isReleasedWhenClosed() const {
    return impl_->releasedWhenClosed;
}
void NSWindow::setReleasedWhenClosed(bool released) {
    impl_->releasedWhenClosed = released;
}
bool NSWindow::isOpaque() const {
    return impl_->opaque;
}
void NSWindow::setOpaque(bool opaque) {
    impl_->opaque = opaque;
}
ui::Color NSWindow::backgroundColor() const {
    return impl_->backgroundColor;
}
void NSWindow::setBackgroundColor(ui::Color color) {
    impl_->backgroundColor = color;
    if (impl_->widget)
        impl_->widget->update();
}
bool NSWindow::ignoresMouseEvents() const {
    return impl_->ignoresMouse;
}
void NSWindow::setIgnoresMouseEvents(bool ignores) {
    impl_->ignoresMouse = ignores;
    syncFlags(*this);
}
double NSWindow::alphaValue() const {
    return impl_->alpha;
}
void NSWindow::setAlphaValue(double alpha) {
    impl_->alpha = std::clamp(alpha, 0.0, 1.0);
    if (impl_->widget && hasWindowManager())
        impl_->widget->setWindowOpacity(impl_->alpha);
}
void NSWindow::center() {
    const auto screen = NSScreen::mainScreen();
    if (!screen)
        return;
    const CGRect v = screen->visibleFrame;
    const double x = CGRectGetMidX(v) - impl_->frame.width / 2;
    // Somewhat above the middle: a third of the free height above, two thirds below.
    const double y = v.origin.y + (v.height - impl_->frame.height) * 2 / 3;
    setFrameOrigin({std::round(x), std::round(y)});
}

namespace {
void show(NSWindow& window, bool makeKey) {
    auto& impl = window.impl();
    const bool appearing = !impl.visible;
    if (appearing && impl.contentViewController)
        impl.contentViewController->viewWillAppear();
    impl.visible = true;
    if (impl.widget) {
        syncFlags(window);
        impl.widget->setAttribute(Qt::WA_ShowWithoutActivating, !makeKey);
        impl.widget->show();
        if (hasWindowManager())
            impl.widget->raise();
        if (makeKey && hasWindowManager())
            impl.widget->activateWindow();
    }
    if (auto self = window.weak_from_this().lock())
        NSApplication::shared().windowOrderedFront(self, makeKey);
    if (appearing && impl.contentViewController)
        impl.contentViewController->viewDidAppear();
}
}  // namespace

void NSWindow::makeKeyAndOrderFront() {
    show(*this, true);
}
void NSWindow::orderFront() {
    show(*this, false);
}
void NSWindow::orderFrontRegardless() {
    show(*this, false);
}
void NSWindow::orderOut() {
    impl_->visible = false;
    if (impl_->widget)
        impl_->widget->hide();
    NSApplication::shared().windowOrderedOut(*this);
}
bool NSWindow::isVisible() const {
    return impl_->visible;
}
bool NSWindow::isKeyWindow() const {
    return NSApplication::shared().keyWindow() == this;
}

void NSWindow::close() {
    // The notification's observers may drop the last other reference to this window.
    auto keep = weak_from_this().lock();
    NotificationCenter::defaultCenter().post(NSWindowWillCloseNotification,
                                             {{"windowNumber", windowNumber_}});
    orderOut();
}
void NSWindow::performClose() {
    close();
}

NSResponder* NSWindow::firstResponder() const {
    return impl_->firstResponder;
}
bool NSWindow::makeFirstResponder(NSResponder* responder) {
    impl_->firstResponder = responder != nullptr ? responder : this;
    return true;
}

bool NSWindow::performKeyEquivalent(const NSEvent& event) {
    return impl_->contentView && impl_->contentView->performKeyEquivalent(event);
}

void NSWindow::sendEvent(const NSEvent& event) {
    if (event.type != NSEventType::keyDown)
        return;
    if (performKeyEquivalent(event))
        return;
    if (NSResponder* responder = firstResponder(); responder != nullptr && responder != this) {
        responder->keyDown(event);
    }
}

}  // namespace corvane::platform
