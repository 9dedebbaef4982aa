#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/NSView.h"
#include "platform/ui/View.h"

namespace corvane::platform {

namespace ui {
class Host;
class ElementHandle;
}  // namespace ui

/// A platform view that shows a declarative view. It builds real controls from the view
/// value and keeps them current: whenever an observed object or a view state of the tree
/// announces a change, the tree is evaluated again on the main queue and the controls are
/// updated in place (a control the user is dragging keeps its position).
class NSHostingView : public NSView {
  public:
    explicit NSHostingView(ui::View rootView);
    ~NSHostingView() override;

    const ui::View& rootView() const;
    void setRootView(ui::View rootView);

    /// The root view's ideal size, in points.
    CGSize intrinsicContentSize() const override;
    CGSize fittingSize() const override;
    /// Called after an update changed the intrinsic content size.
    void setIntrinsicSizeChangedHandler(std::function<void()> handler);

    /// Evaluates and lays out the tree now, instead of on the next turn of the main queue.
    void updateNow();

    /// Every element shown now (this view's and those of the popovers and sheets it
    /// presents), outermost first, for tests to read and drive.
    std::vector<ui::ElementHandle> elementsForTesting() const;

    bool performKeyEquivalent(const NSEvent& event) override;

    ui::Host& host() const { return *host_; }

  private:
    std::unique_ptr<ui::Host> host_;
};

namespace ui {

/// What a test reads of one element shown by a host. Frames are in points, in the
/// coordinates of the hosting view that shows the element (origin at its top left, y
/// growing downwards).
struct ElementInfo {
    std::string kind;   ///< "text", "image", "button", "toggle", "slider", "list", "row",
                        ///< "divider", "groupBox", "stack", "spacer", "native", "empty"; a
                        ///< wrapped platform button is a "button"
    std::string label;  ///< the text shown, a control's title, an image's name
    std::string accessibilityLabel;  ///< the localized accessibility label, if any
    CGRect frame;
    bool enabled = true;
    bool visible = true;
    Font font;
    std::optional<Color> foreground;
    bool isOn = false;             ///< toggles
    double value = 0;              ///< sliders: the bound value
    double knobValue = 0;          ///< sliders: the value the knob shows
    bool isDefaultAction = false;  ///< buttons with the default-action shortcut
    ToggleStyle toggleStyle = ToggleStyle::automatic;
    BuiltInButtonStyle buttonStyle = BuiltInButtonStyle::automatic;
    bool customButtonStyle = false;
    bool pressed = false;  ///< buttons
    std::optional<std::string> tag;
    bool selected = false;  ///< list rows
    std::string toolTip;
    std::optional<Color> background;  ///< the colour of the outermost background fill
    double scale = 1;
    /// Which presentation shows it: none for the host itself, else "popover" or "sheet".
    std::string presentation;
    std::optional<Edge> arrowEdge;  ///< popovers
};

/// A handle on one element shown by a host; it drives the real control with real input
/// events. It becomes empty when the element goes away.
class ElementHandle {
  public:
    struct Target;
    explicit ElementHandle(std::shared_ptr<Target> target) : target_(std::move(target)) {}

    bool exists() const;
    ElementInfo info() const;
    /// A click at the centre: mouse down, then up.
    void click() const;
    /// Mouse down (true) or up (false) at the centre, alone.
    void press(bool down) const;
    /// The pointer enters (true) or leaves (false).
    void hover(bool inside) const;
    /// Drags a slider's knob to the position of `value`, as the user would, without
    /// releasing it (`release` ends the drag).
    void dragSlider(double value) const;
    void release() const;

  private:
    std::shared_ptr<Target> target_;
};

/// The first element of `kind` whose label or accessibility label is `label`, among
/// `elements`.
std::optional<ElementHandle> findElement(const std::vector<ElementHandle>& elements,
                                         const std::string& kind, const std::string& label);

}  // namespace ui
}  // namespace corvane::platform
