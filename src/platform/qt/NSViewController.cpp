#include "platform/appkit/NSViewController.h"

#include "platform/appkit/NSHostingView.h"

namespace corvane::platform {

NSView& NSViewController::view() {
    return *sharedView();
}
std::shared_ptr<NSView> NSViewController::sharedView() {
    if (!view_) {
        loadView();
        if (!view_)
            view_ = std::make_shared<NSView>();
        viewDidLoad();
    }
    return view_;
}
void NSViewController::loadView() {
    view_ = std::make_shared<NSView>();
}

void NSHostingController::loadView() {
    auto hosting = std::make_shared<NSHostingView>(rootView_);
    // The view lives as long as this controller, which keeps it.
    NSHostingView* view = hosting.get();
    hosting->setIntrinsicSizeChangedHandler(
        [this, view] { setPreferredContentSize(view->fittingSize()); });
    setView(std::move(hosting));
}
NSHostingController::~NSHostingController() {
    if (isViewLoaded())
        hostingView().setIntrinsicSizeChangedHandler({});
}
NSHostingView& NSHostingController::hostingView() {
    return static_cast<NSHostingView&>(view());
}

}  // namespace corvane::platform
