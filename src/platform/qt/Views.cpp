// The platform views on Qt widgets: plain views, buttons, hosting views of declarative
// views, view controllers, and the test handles on hosted elements.
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QSlider>
#include <cmath>

#include "platform/appkit/NSButton.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSViewController.h"
#include "platform/qt/ElementBox.h"
#include "platform/qt/Host.h"
#include "platform/qt/QtSupport.h"
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

/// The round help button and the push button of `NSButton`.
class ButtonView final : public QWidget {
  public:
    explicit ButtonView(NSButton& owner) : owner_(owner) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
        p.setPen(QPen(QColor(0, 0, 0, 50), 1));
        p.setBrush(pressed_ ? QColor(222, 222, 222) : QColor(255, 255, 255));
        if (owner_.bezelStyle() == NSBezelStyle::helpButton) {
            const double side = std::min(r.width(), r.height());
            const QRectF circle(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
            p.drawEllipse(circle);
            QFont f = font();
            f.setPixelSize(static_cast<int>(side * 0.6));
            f.setBold(true);
            p.setFont(f);
            p.setPen(QColor(0, 0, 0, 200));
            p.drawText(circle, Qt::AlignCenter, "?");
        } else {
            p.drawRoundedRect(r, 5, 5);
            p.setPen(QColor(0, 0, 0, 217));
            p.drawText(r, Qt::AlignCenter, QString::fromStdString(owner_.title()));
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        pressed_ = true;
        update();
        e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        e->accept();
        if (!std::exchange(pressed_, false))
            return;
        update();
        if (rect().contains(e->position().toPoint()))
            owner_.performClick();
    }

  private:
    NSButton& owner_;
    bool pressed_ = false;
};

std::unique_ptr<NSView::Impl> makeImpl(QWidget* widget) {
    qt::ensureQtApplication();
    auto impl = std::make_unique<NSView::Impl>();
    impl->widget = widget;
    return impl;
}

}  // namespace

// ---- NSView ----

NSView::NSView() : impl_(makeImpl(nullptr)) {
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
bool NSView::performKeyEquivalent(const NSEvent&) {
    return false;
}

// ---- NSButton ----

NSButton::NSButton() : NSView(makeImpl(nullptr)) {
    impl().widget = new ButtonView(*this);
}
void NSButton::setTitle(std::string title) {
    title_ = std::move(title);
    if (impl().widget)
        impl().widget->update();
}
void NSButton::setBezelStyle(NSBezelStyle style) {
    bezelStyle_ = style;
    if (impl().widget)
        impl().widget->update();
}
void NSButton::performClick() {
    if (action_)
        action_();
}
CGSize NSButton::intrinsicContentSize() const {
    if (bezelStyle_ == NSBezelStyle::helpButton)
        return {21, 21};
    QFontMetrics metrics(impl().widget ? impl().widget->font() : QFont());
    return {static_cast<double>(metrics.horizontalAdvance(QString::fromStdString(title_)) + 24),
            22};
}

// ---- NSHostingView ----

NSHostingView::NSHostingView(ui::View rootView) : NSView(makeImpl(nullptr)) {
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

// ---- NSViewController ----

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
    setView(std::make_shared<NSHostingView>(rootView_));
}
NSHostingView& NSHostingController::hostingView() {
    return static_cast<NSHostingView&>(view());
}

// ---- Test handles ----

namespace ui {

namespace {

std::shared_ptr<NodeBox> nodeOf(const std::shared_ptr<ElementHandle::Target>& target) {
    return target ? target->node.lock() : nullptr;
}

// The widget under the element's centre and that point in its coordinates.
std::pair<QWidget*, QPoint> pointOf(NodeBox& node) {
    QWidget* widget = node.hitWidget();
    if (widget == nullptr)
        return {nullptr, {}};
    QPoint local;
    if (widget == node.container()) {
        const QRectF r = node.placedRect();
        local = QPoint(static_cast<int>(r.center().x()), static_cast<int>(r.center().y()));
    } else {
        local = widget->rect().center();
    }
    if (QWidget* child = widget->childAt(local)) {
        return {child, child->mapFrom(widget, local)};
    }
    return {widget, local};
}

void sendMouse(QWidget* widget, QPoint local, QEvent::Type type) {
    const QPointF global = widget->mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), global, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

bool ElementHandle::exists() const {
    return nodeOf(target_) != nullptr;
}

ElementInfo ElementHandle::info() const {
    auto node = nodeOf(target_);
    if (!node)
        return {};
    ElementInfo info = node->describe();
    info.presentation = target_->presentation;
    info.arrowEdge = target_->arrowEdge;
    return info;
}

void ElementHandle::click() const {
    press(true);
    press(false);
}

void ElementHandle::press(bool down) const {
    auto node = nodeOf(target_);
    if (!node)
        return;
    auto [widget, local] = pointOf(*node);
    if (widget)
        sendMouse(widget, local, down ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease);
}

void ElementHandle::hover(bool inside) const {
    auto node = nodeOf(target_);
    if (!node)
        return;
    QWidget* widget = node->hitWidget();
    if (!widget)
        return;
    if (inside) {
        const QPointF local = QRectF(widget->rect()).center();
        QEnterEvent event(local, local, widget->mapToGlobal(local));
        QApplication::sendEvent(widget, &event);
    } else {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(widget, &event);
    }
}

void ElementHandle::dragSlider(double value) const {
    auto node = nodeOf(target_);
    if (!node)
        return;
    auto* slider = qobject_cast<QSlider*>(node->hitWidget());
    const auto* element = node->view().as<SliderElement>();
    if (!slider || !element || !slider->isEnabled())
        return;
    slider->setSliderDown(true);
    slider->setSliderPosition(sliderPosition(*element, value));
}

void ElementHandle::release() const {
    auto node = nodeOf(target_);
    if (!node)
        return;
    if (auto* slider = qobject_cast<QSlider*>(node->hitWidget()))
        slider->setSliderDown(false);
}

std::optional<ElementHandle> findElement(const std::vector<ElementHandle>& elements,
                                         const std::string& kind, const std::string& label) {
    for (const auto& element : elements) {
        const ElementInfo info = element.info();
        if (info.kind == kind && info.label == label)
            return element;
    }
    return std::nullopt;
}

}  // namespace ui
}  // namespace corvane::platform
