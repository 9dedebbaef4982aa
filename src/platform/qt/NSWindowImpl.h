#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/appkit/NSWindow.h"
#include "platform/qt/WindowWidget.h"

namespace corvane::platform {

/// The backend of a window: its widget and the properties it shows.
struct NSWindow::Impl {
    QPointer<qt::WindowWidget> widget;
    NSWindowStyleMask styleMask = 0;
    std::string title;
    NSWindowTitleVisibility titleVisibility = NSWindowTitleVisibility::visible;
    bool titlebarTransparent = false;
    NSTitlebarSeparatorStyle separatorStyle = NSTitlebarSeparatorStyle::automatic;
    std::shared_ptr<NSToolbar> toolbar;
    NSWindowToolbarStyle toolbarStyle = NSWindowToolbarStyle::automatic;
    std::shared_ptr<NSViewController> contentViewController;
    std::shared_ptr<NSView> contentView;
    CGRect frame;
    /// The frame drawn now: `frame`, or a step of an animated frame change towards it.
    CGRect presentedFrame;
    std::uint64_t frameAnimation = 0;
    NSWindowLevel level = NSNormalWindowLevel;
    bool releasedWhenClosed = true;
    bool opaque = true;
    ui::Color backgroundColor = ui::Color::rgb(236.0 / 255, 236.0 / 255, 236.0 / 255);
    bool ignoresMouse = false;
    double alpha = 1;
    bool visible = false;
    NSResponder* firstResponder = nullptr;
    std::uint64_t alphaAnimation = 0;
};

/// Draws the window at `frame` (its widget's geometry and its content view's).
void presentWindowFrame(NSWindow& window, CGRect frame);
/// Moves the drawn frame from the one shown now to the window's frame over `duration`
/// seconds of the main queue's clock, one step per display frame.
void animateWindowFrame(NSWindow& window, double duration);

}  // namespace corvane::platform
