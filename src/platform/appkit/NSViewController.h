#pragma once

#include <memory>
#include <vector>

#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSView.h"

namespace corvane::platform {

/// Manages one view: made on first request (`loadView`, then `viewDidLoad`), told when it
/// will appear in a window.
class NSViewController : public NSResponder {
  public:
    ~NSViewController() override = default;

    /// The view, loaded on first request.
    NSView& view();
    std::shared_ptr<NSView> sharedView();
    bool isViewLoaded() const { return view_ != nullptr; }
    void setView(std::shared_ptr<NSView> view) { view_ = std::move(view); }

    /// The size the controller would like its view to have; zero: none. A change is
    /// reported to the parent controller.
    CGSize preferredContentSize() const { return preferredContentSize_; }
    void setPreferredContentSize(CGSize size) {
        if (size == preferredContentSize_)
            return;
        preferredContentSize_ = size;
        if (parent_ != nullptr)
            parent_->preferredContentSizeDidChangeForViewController(*this);
    }

    /// The controller that holds this one as a child, or null.
    NSViewController* parentViewController() const { return parent_; }
    const std::vector<std::shared_ptr<NSViewController>>& childViewControllers() const {
        return children_;
    }
    void addChildViewController(std::shared_ptr<NSViewController> child) {
        child->parent_ = this;
        children_.push_back(std::move(child));
    }
    /// A child reported a new preferred content size.
    virtual void preferredContentSizeDidChangeForViewController(NSViewController& child) {
        (void)child;
    }

    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear() {}
    virtual void viewDidAppear() {}

  private:
    std::shared_ptr<NSView> view_;
    CGSize preferredContentSize_;
    NSViewController* parent_ = nullptr;
    std::vector<std::shared_ptr<NSViewController>> children_;
};

/// A view controller whose view is a hosting view of a declarative view. When the view's
/// content changes size, its fitting size becomes the preferred content size.
class NSHostingController : public NSViewController {
  public:
    explicit NSHostingController(ui::View rootView) : rootView_(std::move(rootView)) {}
    ~NSHostingController() override;

    void loadView() override;
    NSHostingView& hostingView();

  private:
    ui::View rootView_;
};

}  // namespace corvane::platform
