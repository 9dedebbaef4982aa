#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/Box.h"
#include "platform/qt/Widgets.h"
#include "platform/ui/View.h"

namespace corvane::platform::ui {

/// One layer that a node's modifiers make around its element: its kind and what it needs.
struct LayerSpec {
    char kind = 'P';  // P padding, F frame, X flexible frame, S fixed size, D decoration
    EdgeInsets insets;
    FrameModifier frame;
    FlexibleFrame flex;
    FixedSizeModifier fixed;
    std::vector<qt::DecorationWidget::Fill> fills;
    std::optional<Shape> clip;
    std::function<void()> tap;
    int tapCount = 1;
    std::function<void(bool)> hover;
    std::string help;
};

/// The layers of `view`'s modifiers. Layout modifiers each make a layer; drawing and event
/// modifiers that follow one another share one decorated widget. Outermost first.
std::vector<LayerSpec> layerSpecs(const View& view);

/// The mounted form of one layer: a box around the inner box (the next layer or the
/// element), possibly with a widget of its own.
class LayerBox : public Box {
  public:
    explicit LayerBox(char kind) : kind_(kind) {}
    char kind() const { return kind_; }
    void setInner(Box* inner) { inner_ = inner; }
    virtual void configure(const LayerSpec& spec, const EnvironmentValues& env) = 0;
    virtual QWidget* widget() const { return nullptr; }
    virtual std::string toolTip() const { return {}; }
    /// The colour of the layer's first background fill, if it has one.
    virtual std::optional<Color> background() const { return std::nullopt; }

  protected:
    char kind_;
    Box* inner_ = nullptr;
};

/// A new layer of `kind` whose widgets live in `container`.
std::unique_ptr<LayerBox> makeLayer(char kind, QWidget* container);

}  // namespace corvane::platform::ui
