// The hosting view: a widget that shows a declarative view through a host.
#include <QResizeEvent>
#include <QWidget>
#include <cmath>

#include "platform/appkit/NSHostingView.h"
#include "platform/qt/Host.h"
#include "platform/qt/ViewImpl.h"

namespace corvane::platform {

namespace {

/// The widget of a hosting view: it lays its tree out whenever it is resized.
class HostWidget final : public QWidget {
  public:
    HostWidget() { setAttribute(Qt::WA_TranslucentBackground); }
    ui::Host* host = nullptr;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (host)
            host->layout();
    }
};

}  // namespace

NSHostingView::NSHostingView(ui::View rootView) : NSView(makeViewImpl()) {
    auto* widget = new HostWidget();
    impl().widget = widget;
    host_ = std::make_unique<ui::Host>(std::move(rootView), widget);
    widget->host = host_.get();
    const CGSize ideal = intrinsicContentSize();
    widget->resize(static_cast<int>(std::ceil(ideal.width)),
                   static_cast<int>(std::ceil(ideal.height)));
    host_->layout();
}

NSHostingView::~NSHostingView() {
    if (auto* widget = static_cast<HostWidget*>(impl().widget.data()))
        widget->host = nullptr;
    host_.reset();
}

const ui::View& NSHostingView::rootView() const {
    return host_->root();
}
void NSHostingView::setRootView(ui::View rootView) {
    host_->setRoot(std::move(rootView));
}
CGSize NSHostingView::intrinsicContentSize() const {
    const QSizeF s = host_->idealSize();
    return {std::ceil(s.width()), std::ceil(s.height())};
}
CGSize NSHostingView::fittingSize() const {
    return intrinsicContentSize();
}
void NSHostingView::setIntrinsicSizeChangedHandler(std::function<void()> handler) {
    host_->setIntrinsicSizeChangedHandler(std::move(handler));
}
void NSHostingView::updateNow() {
    host_->updateNow();
}
std::vector<ui::ElementHandle> NSHostingView::elementsForTesting() const {
    return host_->elements();
}
bool NSHostingView::performKeyEquivalent(const NSEvent& event) {
    return host_->performKeyEquivalent(event);
}

}  // namespace corvane::platform
