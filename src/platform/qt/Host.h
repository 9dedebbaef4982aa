#pragma once

#include <QPointer>
#include <QSizeF>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Event.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/qt/NodeBox.h"
#include "platform/ui/View.h"

namespace corvane::platform::ui {

/// Shows one declarative view in a widget and keeps it current.
class Host {
  public:
    Host(View root, QWidget* widget, std::string presentation = {});
    ~Host();

    const View& root() const { return root_; }
    void setRoot(View root);
    QWidget* widget() const { return widget_; }
    /// "popover" or "sheet" for the content of a presentation, else empty.
    const std::string& presentation() const { return presentation_; }
    /// Marks the host as the content of a presentation ("popover" or "sheet").
    void setPresentation(std::string name, std::optional<Edge> arrowEdge) {
        presentation_ = std::move(name);
        arrowEdge_ = arrowEdge;
    }

    /// Something the tree shows will change: evaluate it again on the main queue, once.
    void invalidate();
    /// Evaluates the tree and lays it out now.
    void updateNow();
    /// Lays the tree out in the widget's rectangle.
    void layout();
    /// The root's ideal size, in points.
    QSizeF idealSize();
    /// A number that changes with every update and layout, so boxes know when to forget
    /// the sizes they measured.
    std::uint64_t generation() const { return generation_; }

    void setIntrinsicSizeChangedHandler(std::function<void()> handler) {
        intrinsicSizeChanged_ = std::move(handler);
    }

    std::vector<ElementHandle> elements();
    /// The mounted tree, or null before the first mount.
    const std::shared_ptr<NodeBox>& rootNode() const { return rootBox_; }
    bool performKeyEquivalent(const NSEvent& event);

    // Presentations (popovers, sheets) shown by nodes of this host.
    void addPresented(NSHostingView* view) { presented_.push_back(view); }
    void removePresented(NSHostingView* view);
    const std::vector<NSHostingView*>& presented() const { return presented_; }

  private:
    void mountOrUpdate();

    View root_;
    QPointer<QWidget> widget_;
    std::string presentation_;
    std::optional<Edge> arrowEdge_;
    std::shared_ptr<NodeBox> rootBox_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    bool scheduled_ = false;
    bool updating_ = false;
    std::uint64_t generation_ = 1;
    QSizeF lastIdeal_{-1, -1};
    std::function<void()> intrinsicSizeChanged_;
    std::vector<NSHostingView*> presented_;
};

}  // namespace corvane::platform::ui
