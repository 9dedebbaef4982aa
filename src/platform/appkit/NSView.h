#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Geometry.h"
#include "platform/appkit/Responder.h"

namespace corvane::platform {

class NSWindow;

/// A platform view: a rectangle of a window that draws and takes events. Its backend object
/// (a widget) lives as long as the view.
class NSView : public NSResponder {
  public:
    struct Impl;

    NSView();
    ~NSView() override;
    NSView(const NSView&) = delete;
    NSView& operator=(const NSView&) = delete;

    /// The frame in its superview (or window content), in points.
    CGRect frame() const;
    void setFrameSize(CGSize size);
    /// The size the view wants for its content alone, in points.
    virtual CGSize intrinsicContentSize() const;
    /// The smallest size that fits the content, in points.
    virtual CGSize fittingSize() const;
    /// The window that shows the view, or null.
    NSWindow* window() const;
    /// What assistive technologies read for the view; empty: nothing beyond its own text.
    virtual std::string accessibilityLabel() const { return {}; }
    /// The views shown inside this one, back to front; a plain view has none.
    virtual std::vector<std::shared_ptr<NSView>> subviews() const;
    /// Offers a key equivalent to the view's subviews, front to back, until one takes it;
    /// true when one did. A view with controls of its own offers it to them.
    virtual bool performKeyEquivalent(const NSEvent& event);

    Impl& impl() const { return *impl_; }

  protected:
    explicit NSView(std::unique_ptr<Impl> impl);

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvane::platform
