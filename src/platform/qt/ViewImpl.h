#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/appkit/NSView.h"

namespace corvane::platform {

/// The backend of a platform view: its widget.
struct NSView::Impl {
    QPointer<QWidget> widget;
    NSWindow* window = nullptr;
    /// Whether a size was given; otherwise the window sizes the view.
    bool sized = false;
};

}  // namespace corvane::platform
