#pragma once

#include <QRectF>
#include <QSizeF>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Event.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/qt/Box.h"
#include "platform/ui/View.h"

namespace corvane::platform::ui {

class Host;

/// The mounted form of one view node: the widgets and layout boxes made from its element
/// and its modifiers, kept and updated in place while later view values keep its shape.
class NodeBox : public Box, public std::enable_shared_from_this<NodeBox> {
  public:
    struct Impl;
    /// Mounts `view` into `container`, with `env` from the parent and the axis of the stack
    /// it sits in, if any.
    static std::shared_ptr<NodeBox> mount(Host& host, QWidget* container, const View& view,
                                          const EnvironmentValues& env, std::optional<Axis> axis);
    ~NodeBox() override;

    /// Updates to `view`; false when `view` has another shape (the caller mounts it anew).
    bool update(const View& view, const EnvironmentValues& env);

    QSizeF sizeThatFits(const Proposal& proposal) override;
    void place(const QRectF& rect) override;

    /// The identity among siblings: the id or tag, or empty.
    std::string identity() const;
    /// Empty views take no room and no spacing in stacks.
    bool isEmpty() const;
    bool isSpacer() const;
    /// The rectangle last placed, in the coordinates of the container.
    QRectF placedRect() const;
    /// The rectangle last placed, in host coordinates.
    QRectF frameInHost() const;
    /// The widget that receives clicks at the node's centre.
    QWidget* hitWidget() const;
    QWidget* container() const;

    ElementInfo describe() const;
    /// Appends this node and every node inside it, outermost first (building the rows of
    /// a list that are not shown yet).
    void collect(std::vector<std::shared_ptr<NodeBox>>& into);
    bool performKeyEquivalent(const NSEvent& event);
    const View& view() const;
    /// Shows, updates or dismisses the popovers and sheets of this node and those inside it.
    void syncPresentations();
    Impl& impl() { return *impl_; }

    NodeBox(Host& host, QWidget* container, std::optional<Axis> axis);

  private:
    void apply(const View& view, const EnvironmentValues& env);
    std::unique_ptr<Impl> impl_;
};

/// What a handle holds: the node and the presentation that shows it.
struct ElementHandle::Target {
    std::weak_ptr<NodeBox> node;
    std::string presentation;
    std::optional<Edge> arrowEdge;
};

}  // namespace corvane::platform::ui
