#include "platform/qt/Presentation.h"

#include <cmath>

#include "platform/qt/Host.h"
#include "platform/qt/LayoutGeometry.h"
#include "platform/qt/ViewImpl.h"
#include "platform/qt/WindowWidget.h"

namespace corvane::platform::ui {

using namespace geometry;

void Presentation::sync(Host& host, NodeBox& anchor) {
    const bool wanted = isPresented.get();
    if (wanted && !window) {
        show(host, anchor);
    } else if (!wanted && window) {
        dismiss(&host, true);
    } else if (window) {
        hosting->setRootView(content());
        hosting->updateNow();
        fit(anchor);
    }
}

void Presentation::show(Host& host, NodeBox& anchor) {
    QWidget* parent = host.widget() ? host.widget()->window() : nullptr;
    window = new qt::PresentationWindow(parent, sheet);
    hosting = std::make_shared<NSHostingView>(content());
    hosting->host().setPresentation(sheet ? "sheet" : "popover", arrowEdge);
    hosting->impl().widget->setParent(window);
    hosting->impl().widget->show();
    Host* owner = &host;
    window->onClosedByUser = [this, owner] {
        isPresented.set(false);
        if (sheet && onDismiss)
            onDismiss();
        owner->invalidate();
    };
    std::weak_ptr<NodeBox> weakAnchor = anchor.weak_from_this();
    hosting->setIntrinsicSizeChangedHandler([this, weakAnchor] {
        if (auto a = weakAnchor.lock())
            fit(*a);
    });
    hosting->updateNow();
    fit(anchor);
    window->show();
    host.addPresented(hosting.get());
}

void Presentation::fit(NodeBox& anchor) {
    if (!window || !hosting)
        return;
    CGSize size = hosting->fittingSize();
    const QSize pixels(static_cast<int>(std::ceil(size.width)),
                       static_cast<int>(std::ceil(size.height)));
    window->resize(pixels);
    hosting->impl().widget->setGeometry(QRect(QPoint(0, 0), pixels));
    QWidget* container = anchor.container();
    if (container == nullptr)
        return;
    QRect anchorRect = pixelRect(anchor.placedRect());
    QPoint global = container->mapToGlobal(anchorRect.topLeft());
    if (sheet) {
        // A sheet hangs from the bottom of the window's title bar (and toolbar).
        QWidget* top = container->window();
        QPoint origin = top->mapToGlobal(QPoint(0, 0));
        const auto* chrome = dynamic_cast<qt::WindowWidget*>(top);
        const int titlebar = chrome != nullptr ? static_cast<int>(chrome->titlebarHeight) : 28;
        window->move(origin.x() + (top->width() - pixels.width()) / 2, origin.y() + titlebar);
    } else {
        window->move(global.x() + anchorRect.width() / 2 - pixels.width() / 2,
                     global.y() + anchorRect.height() + 6);
    }
}

void Presentation::dismiss(Host* host, bool notify) {
    if (!window)
        return;
    if (host)
        host->removePresented(hosting.get());
    window->closingByBinding = true;
    window->close();
    hosting->impl().widget->setParent(nullptr);
    hosting.reset();
    delete window.data();
    if (notify && sheet && onDismiss)
        onDismiss();
}

}  // namespace corvane::platform::ui
