#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "platform/appkit/NSHostingView.h"
#include "platform/qt/Widgets.h"
#include "platform/ui/View.h"

namespace corvane::platform::ui {

class Host;
class NodeBox;

/// A popover or a sheet that a node shows while its binding is true: a window of its own
/// hosting the content, placed below the anchor node (popovers) or at the top of the
/// anchor's window (sheets).
struct Presentation {
    bool sheet = false;
    Binding<bool> isPresented;
    std::optional<Edge> arrowEdge;
    std::function<void()> onDismiss;  ///< sheets
    std::function<View()> content;
    QPointer<qt::PresentationWindow> window;
    std::shared_ptr<NSHostingView> hosting;

    ~Presentation() { dismiss(nullptr, false); }

    /// Shows, updates or dismisses the presentation as its binding says.
    void sync(Host& host, NodeBox& anchor);
    void show(Host& host, NodeBox& anchor);
    /// Sizes the window to the content and places it by the anchor.
    void fit(NodeBox& anchor);
    /// Closes the window; with `notify`, a sheet's dismissal action runs.
    void dismiss(Host* host, bool notify);
};

}  // namespace corvane::platform::ui
