// The handles tests and the session driver hold on hosted elements: they read an element
// and drive its real widget with real input events.
#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QSlider>

#include "platform/appkit/NSHostingView.h"
#include "platform/qt/ElementBox.h"
#include "platform/qt/NodeBox.h"
#include "platform/qt/SheetModality.h"

namespace corvane::platform {

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
    if (!slider || !element || !slider->isEnabled() || qt::isBlockedBySheet(*slider))
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
        if (info.kind == kind && (info.label == label || info.accessibilityLabel == label))
            return element;
    }
    return std::nullopt;
}

}  // namespace ui
}  // namespace corvane::platform
