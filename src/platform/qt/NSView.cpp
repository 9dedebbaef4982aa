// The plain platform view: a widget that the window or a parent view sizes.
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "platform/appkit/NSView.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/ViewImpl.h"

namespace corvane::platform {

std::unique_ptr<NSView::Impl> makeViewImpl(QWidget* widget) {
    qt::ensureQtApplication();
    auto impl = std::make_unique<NSView::Impl>();
    impl->widget = widget;
    return impl;
}

NSView::NSView() : impl_(makeViewImpl()) {
    impl_->widget = new QWidget();
}
NSView::NSView(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
NSView::~NSView() {
    delete impl_->widget.data();
}

CGRect NSView::frame() const {
    const QRect g = impl_->widget ? impl_->widget->geometry() : QRect();
    return CGRectMake(g.x(), g.y(), g.width(), g.height());
}
void NSView::setFrameSize(CGSize size) {
    if (!impl_->widget)
        return;
    impl_->sized = true;
    impl_->widget->resize(static_cast<int>(std::lround(size.width)),
                          static_cast<int>(std::lround(size.height)));
}
CGSize NSView::intrinsicContentSize() const {
    if (!impl_->widget)
        return {};
    QSize hint = impl_->widget->sizeHint();
    return {static_cast<double>(std::max(0, hint.width())),
            static_cast<double>(std::max(0, hint.height()))};
}
CGSize NSView::fittingSize() const {
    return intrinsicContentSize();
}
NSWindow* NSView::window() const {
    return impl_->window;
}
std::vector<std::shared_ptr<NSView>> NSView::subviews() const {
    return {};
}
bool NSView::performKeyEquivalent(const NSEvent& event) {
    const auto views = subviews();
    return std::any_of(views.rbegin(), views.rend(),
                       [&](const auto& view) { return view && view->performKeyEquivalent(event); });
}

}  // namespace corvane::platform
