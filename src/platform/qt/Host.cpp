#include "platform/qt/Host.h"

#include "platform/qt/LayoutGeometry.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform::ui {

using namespace geometry;

Host::Host(View root, QWidget* widget, std::string presentation)
    : root_(std::move(root)), widget_(widget), presentation_(std::move(presentation)) {
    mountOrUpdate();
}

Host::~Host() {
    alive_.reset();
    rootBox_.reset();
}

void Host::setRoot(View root) {
    root_ = std::move(root);
    invalidate();
}

void Host::invalidate() {
    if (scheduled_)
        return;
    scheduled_ = true;
    std::weak_ptr<int> alive = alive_;
    runtime().mainQueue().async([this, alive] {
        if (alive.expired())
            return;
        if (scheduled_)
            updateNow();
    });
}

void Host::updateNow() {
    scheduled_ = false;
    mountOrUpdate();
    layout();
}

void Host::mountOrUpdate() {
    if (updating_)
        return;
    updating_ = true;
    ++generation_;
    EnvironmentValues env;
    if (!rootBox_ || !rootBox_->update(root_, env)) {
        rootBox_.reset();
        rootBox_ = NodeBox::mount(*this, widget_, root_, env, std::nullopt);
    }
    ++generation_;
    updating_ = false;
}

QSizeF Host::idealSize() {
    return rootBox_->sizeThatFits({});
}

void Host::layout() {
    if (!rootBox_ || !widget_)
        return;
    ++generation_;
    const QSizeF ideal = idealSize();
    const QRectF bounds(0, 0, widget_->width(), widget_->height());
    const QSizeF size = rootBox_->sizeThatFits({bounds.width(), bounds.height()});
    rootBox_->place(alignIn(bounds, size, Alignment::center()));
    rootBox_->syncPresentations();
    if (ideal != lastIdeal_) {
        const bool first = lastIdeal_.width() < 0;
        lastIdeal_ = ideal;
        if (!first && intrinsicSizeChanged_)
            intrinsicSizeChanged_();
    }
}

void Host::removePresented(NSHostingView* view) {
    std::erase(presented_, view);
}

std::vector<ElementHandle> Host::elements() {
    std::vector<ElementHandle> handles;
    if (!rootBox_)
        return handles;
    std::vector<std::shared_ptr<NodeBox>> nodes;
    rootBox_->collect(nodes);
    for (auto& node : nodes) {
        auto target = std::make_shared<ElementHandle::Target>();
        target->node = node;
        target->presentation = presentation_;
        target->arrowEdge = arrowEdge_;
        handles.emplace_back(target);
    }
    for (NSHostingView* presented : presented_) {
        auto more = presented->host().elements();
        handles.insert(handles.end(), more.begin(), more.end());
    }
    return handles;
}

bool Host::performKeyEquivalent(const NSEvent& event) {
    for (NSHostingView* presented : presented_) {
        if (presented->host().presentation() == "sheet")
            return presented->host().performKeyEquivalent(event);
    }
    for (NSHostingView* presented : presented_) {
        if (presented->host().performKeyEquivalent(event))
            return true;
    }
    return rootBox_ && rootBox_->performKeyEquivalent(event);
}

}  // namespace corvane::platform::ui
