// The tab view controller on Qt: its view is a pane container that shows the selected tab's
// view filling it; in toolbar style the tabs are the window's toolbar items.
#include "platform/appkit/NSTabViewController.h"

#include <QResizeEvent>
#include <QWidget>

#include "platform/appkit/NSWindow.h"
#include "platform/qt/ViewImpl.h"

namespace corvane::platform {

namespace {

/// The widget that holds the panes; the one shown fills it.
class PaneWidget final : public QWidget {
  public:
    QPointer<QWidget> shown;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (shown)
            shown->setGeometry(rect());
    }
};

/// The controller's view: it shows one pane at a time and fits what the pane fits.
class PaneContainerView final : public NSView {
  public:
    PaneContainerView() : NSView(makeViewImpl()) { impl().widget = widget_ = new PaneWidget(); }

    void show(const std::shared_ptr<NSView>& pane) {
        if (pane_ == pane)
            return;
        if (pane_ && pane_->impl().widget)
            pane_->impl().widget->hide();
        pane_ = pane;
        QWidget* widget = pane_ ? pane_->impl().widget.data() : nullptr;
        widget_->shown = widget;
        if (widget == nullptr)
            return;
        pane_->impl().window = impl().window;
        if (widget->parentWidget() != widget_)
            widget->setParent(widget_);
        widget->setGeometry(widget_->rect());
        widget->show();
    }

    CGSize intrinsicContentSize() const override {
        return pane_ ? pane_->intrinsicContentSize() : CGSize{};
    }
    CGSize fittingSize() const override { return pane_ ? pane_->fittingSize() : CGSize{}; }
    /// Only the shown pane is inside the container, so only it takes key equivalents.
    std::vector<std::shared_ptr<NSView>> subviews() const override {
        return pane_ ? std::vector<std::shared_ptr<NSView>>{pane_}
                     : std::vector<std::shared_ptr<NSView>>{};
    }

  private:
    PaneWidget* widget_ = nullptr;
    std::shared_ptr<NSView> pane_;
};

}  // namespace

struct NSTabViewController::Impl {
    /// Held weakly by the toolbar's actions, which may outlive the controller.
    std::shared_ptr<int> alive = std::make_shared<int>(0);
    std::shared_ptr<NSToolbar> toolbar;
};

NSTabViewController::NSTabViewController() : impl_(std::make_unique<Impl>()) {}
NSTabViewController::~NSTabViewController() = default;

void NSTabViewController::addTabViewItem(std::shared_ptr<NSTabViewItem> item) {
    if (item->viewController())
        addChildViewController(item->viewController());
    items_.push_back(std::move(item));
    if (selected_ < 0) {
        selected_ = 0;
        showSelectedPane();
    }
    updateToolbar();
}

void NSTabViewController::setSelectedTabViewItemIndex(std::ptrdiff_t index) {
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(items_.size()) || index == selected_)
        return;
    selected_ = index;
    showSelectedPane();
    updateToolbar();
    const auto item = items_[static_cast<std::size_t>(index)];
    tabViewDidSelectTabViewItem(*item);
}

void NSTabViewController::loadView() {
    setView(std::make_shared<PaneContainerView>());
    showSelectedPane();
}

void NSTabViewController::viewWillAppear() {
    NSViewController::viewWillAppear();
    NSWindow* window = view().window();
    if (tabStyle_ != TabStyle::toolbar || window == nullptr)
        return;
    if (!impl_->toolbar || window->toolbar() != impl_->toolbar) {
        impl_->toolbar = std::make_shared<NSToolbar>("NSTabViewControllerToolbar");
        impl_->toolbar->setDisplayMode(NSToolbar::DisplayMode::iconAndLabel);
        updateToolbar();
        window->setToolbar(impl_->toolbar);
    }
}

void NSTabViewController::showSelectedPane() {
    if (!isViewLoaded() || selected_ < 0)
        return;
    const auto& controller = items_[static_cast<std::size_t>(selected_)]->viewController();
    static_cast<PaneContainerView&>(view()).show(controller ? controller->sharedView() : nullptr);
}

void NSTabViewController::updateToolbar() {
    if (!impl_->toolbar)
        return;
    std::vector<NSToolbarItem> items;
    std::weak_ptr<int> alive = impl_->alive;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const auto& item = *items_[i];
        items.push_back({"tab" + std::to_string(i), item.label(), item.image(), [this, alive, i] {
                             if (!alive.expired())
                                 setSelectedTabViewItemIndex(static_cast<std::ptrdiff_t>(i));
                         }});
    }
    impl_->toolbar->setItems(std::move(items));
    impl_->toolbar->setSelectedItemIdentifier(selected_ < 0 ? std::string()
                                                            : "tab" + std::to_string(selected_));
}

}  // namespace corvane::platform
