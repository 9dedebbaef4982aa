#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/appkit/NSView.h"

namespace corvane::platform {

/// The backend of a platform view: its widget.
struct NSView::Impl {
    QPointer<QWidget> widget;
    NSWindow* window = nullptr;
    /// Whether a size was given; otherwise the window sizes the view.
    bool sized = false;
};

/// A backend object for a new view, with the Qt application made first; `widget` may be set
/// later by the view's constructor.
std::unique_ptr<NSView::Impl> makeViewImpl(QWidget* widget = nullptr);

}  // namespace corvane::platform
