#pragma once

#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Event.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/ui/View.h"

namespace corvane::platform::ui {

/// What a parent offers a child: a width and a height in points, each absent ("take your
/// ideal length") or possibly infinite.
struct Proposal {
    std::optional<double> width;
    std::optional<double> height;
    bool operator==(const Proposal&) const = default;
};

class Host;
class NodeBox;

/// The number of knob positions of a slider (its grid steps, or a fine continuous scale).
int sliderSteps(const SliderElement& slider);
/// The knob position that shows `value` (clamped to the range).
int sliderPosition(const SliderElement& slider, double value);

/// One box of the laid-out tree: it answers what size it takes for a proposal, and is told
/// the rectangle it got, in the coordinates of the widget it lives in.
class Box {
  public:
    virtual ~Box() = default;
    virtual QSizeF sizeThatFits(const Proposal& proposal) = 0;
    virtual void place(const QRectF& rect) = 0;
};

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
    /// Appends this node and every node inside it, outermost first.
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

/// What a handle holds: the node and the presentation that shows it.
struct ElementHandle::Target {
    std::weak_ptr<NodeBox> node;
    std::string presentation;
    std::optional<Edge> arrowEdge;
};

}  // namespace corvane::platform::ui
