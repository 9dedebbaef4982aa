#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "platform/appkit/Event.h"
#include "platform/appkit/NSHostingView.h"
#include "platform/qt/Box.h"
#include "platform/ui/View.h"

namespace corvane::platform::ui {

class Host;
class NodeBox;

/// The box of a node's element, inside the layers of its modifiers. One family of boxes per
/// file: SpaceBoxes, ContentBoxes, ControlBoxes, ButtonBox, ContainerBoxes, ComponentBoxes.
class ElementBox : public Box {
  public:
    ElementBox(Host& host, QWidget* container) : host_(host), container_(container) {}
    /// Whether `element` is of this box's kind (so the box can show it).
    virtual bool accepts(const Element& element) const = 0;
    virtual void update(const View& view, const EnvironmentValues& env) = 0;
    virtual QWidget* widget() const { return nullptr; }
    virtual void describe(ElementInfo&) const {}
    virtual void collectChildren(std::vector<std::shared_ptr<NodeBox>>&) const {}
    /// Builds every child a reader may ask for, where children are built only when shown.
    virtual void realizeChildren() {}
    virtual bool performKeyEquivalent(const NSEvent&) { return false; }
    virtual bool isEmpty() const { return false; }
    virtual bool isSpacer() const { return false; }

  protected:
    Host& host_;
    QPointer<QWidget> container_;
};

/// The box that shows `element`, with its widgets in `container`; `axis` is that of the
/// stack the node sits in, if any.
std::unique_ptr<ElementBox> makeElementBox(Host& host, QWidget* container, const Element& element,
                                           std::optional<Axis> axis);

// SpaceBoxes.cpp
std::unique_ptr<ElementBox> makeEmptyBox(Host& host, QWidget* container);
std::unique_ptr<ElementBox> makeSpacerBox(Host& host, QWidget* container, std::optional<Axis> axis);
std::unique_ptr<ElementBox> makeDividerBox(Host& host, QWidget* container,
                                           std::optional<Axis> axis);
// ContentBoxes.cpp
std::unique_ptr<ElementBox> makeTextBox(Host& host, QWidget* container);
std::unique_ptr<ElementBox> makeImageBox(Host& host, QWidget* container);
// ControlBoxes.cpp
std::unique_ptr<ElementBox> makeToggleBox(Host& host, QWidget* container);
std::unique_ptr<ElementBox> makeSliderBox(Host& host, QWidget* container);
// ButtonBox.cpp
std::unique_ptr<ElementBox> makeButtonBox(Host& host, QWidget* container);
// ContainerBoxes.cpp
std::unique_ptr<ElementBox> makeStackBox(Host& host, QWidget* container, Axis axis);
std::unique_ptr<ElementBox> makeListBox(Host& host, QWidget* container);
std::unique_ptr<ElementBox> makeGroupBoxBox(Host& host, QWidget* container);
// ComponentBoxes.cpp
std::unique_ptr<ElementBox> makeComponentBox(Host& host, QWidget* container,
                                             std::optional<Axis> axis);
std::unique_ptr<ElementBox> makeRepresentableBox(Host& host, QWidget* container);

/// The number of knob positions of a slider (its grid steps, or a fine continuous scale).
int sliderSteps(const SliderElement& slider);
/// The knob position that shows `value` (clamped to the range).
int sliderPosition(const SliderElement& slider, double value);

/// Matches new child views to mounted nodes: by identity when a view has one, else by
/// position; matched nodes are updated in place, others mounted anew or dropped.
std::vector<std::shared_ptr<NodeBox>> reconcileChildren(Host& host, QWidget* container,
                                                        std::vector<std::shared_ptr<NodeBox>> old,
                                                        const std::vector<View>& views,
                                                        const EnvironmentValues& env,
                                                        std::optional<Axis> axis);

}  // namespace corvane::platform::ui
