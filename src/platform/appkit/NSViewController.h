#pragma once

#include <memory>

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

    /// The size the controller would like its view to have; zero: none.
    CGSize preferredContentSize() const { return preferredContentSize_; }
    void setPreferredContentSize(CGSize size) { preferredContentSize_ = size; }

    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear() {}
    virtual void viewDidAppear() {}

  private:
    std::shared_ptr<NSView> view_;
    CGSize preferredContentSize_;
};

/// A view controller whose view is a hosting view of a declarative view.
class NSHostingController : public NSViewController {
  public:
    explicit NSHostingController(ui::View rootView) : rootView_(std::move(rootView)) {}

    void loadView() override;
    NSHostingView& hostingView();

  private:
    ui::View rootView_;
};

}  // namespace corvane::platform
