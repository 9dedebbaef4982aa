#include "platform/qt/ModifierLayers.h"

#include <algorithm>

#include "platform/qt/LayoutGeometry.h"

namespace corvane::platform::ui {

using qt::DecorationWidget;
using namespace geometry;

namespace {

LayerSpec specOf(char kind) {
    LayerSpec spec;
    spec.kind = kind;
    return spec;
}

class PaddingLayer final : public LayerBox {
  public:
    PaddingLayer() : LayerBox('P') {}
    void configure(const LayerSpec& spec, const EnvironmentValues&) override {
        insets_ = spec.insets;
    }
    QSizeF sizeThatFits(const Proposal& p) override {
        const double h = insets_.leading + insets_.trailing;
        const double v = insets_.top + insets_.bottom;
        QSizeF inner = inner_->sizeThatFits({shrink(p.width, h), shrink(p.height, v)});
        return {inner.width() + h, inner.height() + v};
    }
    void place(const QRectF& r) override {
        inner_->place(r.adjusted(insets_.leading, insets_.top, -insets_.trailing, -insets_.bottom));
    }

  private:
    EdgeInsets insets_;
};

class FrameLayer final : public LayerBox {
  public:
    FrameLayer() : LayerBox('F') {}
    void configure(const LayerSpec& spec, const EnvironmentValues&) override {
        frame_ = spec.frame;
    }
    QSizeF sizeThatFits(const Proposal& p) override {
        if (frame_.width && frame_.height)
            return {*frame_.width, *frame_.height};
        QSizeF inner = inner_->sizeThatFits(childProposal(p));
        return {frame_.width.value_or(inner.width()), frame_.height.value_or(inner.height())};
    }
    void place(const QRectF& r) override {
        Proposal p{r.width(), r.height()};
        QSizeF inner = inner_->sizeThatFits(childProposal(p));
        inner_->place(alignIn(r, inner, frame_.alignment));
    }

  private:
    Proposal childProposal(const Proposal& p) const {
        return {frame_.width ? frame_.width : p.width, frame_.height ? frame_.height : p.height};
    }
    FrameModifier frame_;
};

class FlexibleFrameLayer final : public LayerBox {
  public:
    FlexibleFrameLayer() : LayerBox('X') {}
    void configure(const LayerSpec& spec, const EnvironmentValues&) override { frame_ = spec.flex; }
    QSizeF sizeThatFits(const Proposal& p) override {
        Proposal child = childProposal(p);
        QSizeF inner = inner_->sizeThatFits(child);
        return {length(p.width, inner.width(), frame_.minWidth, frame_.idealWidth, frame_.maxWidth),
                length(p.height, inner.height(), frame_.minHeight, frame_.idealHeight,
                       frame_.maxHeight)};
    }
    void place(const QRectF& r) override {
        QSizeF inner = inner_->sizeThatFits(childProposal({r.width(), r.height()}));
        inner_->place(alignIn(r, inner, frame_.alignment));
    }

  private:
    static std::optional<double> offer(std::optional<double> proposed, std::optional<double> lo,
                                       std::optional<double> ideal, std::optional<double> hi) {
        std::optional<double> v = proposed ? proposed : ideal;
        if (!v)
            return v;
        if (hi)
            v = std::min(*v, *hi);
        if (lo)
            v = std::max(*v, *lo);
        return v;
    }
    static double length(std::optional<double> proposed, double child, std::optional<double> lo,
                         std::optional<double> ideal, std::optional<double> hi) {
        if (!lo && !hi && !ideal)
            return child;
        if (!proposed) {
            double v = ideal.value_or(child);
            return clampLength(v, lo.value_or(-kInfinity), hi.value_or(kInfinity));
        }
        const double low = lo.value_or(child);
        const double high = std::max(hi.value_or(child), low);
        return clampLength(*proposed, low, high);
    }
    Proposal childProposal(const Proposal& p) const {
        return {offer(p.width, frame_.minWidth, frame_.idealWidth, frame_.maxWidth),
                offer(p.height, frame_.minHeight, frame_.idealHeight, frame_.maxHeight)};
    }
    FlexibleFrame frame_;
};

class FixedSizeLayer final : public LayerBox {
  public:
    FixedSizeLayer() : LayerBox('S') {}
    void configure(const LayerSpec& spec, const EnvironmentValues&) override {
        fixed_ = spec.fixed;
    }
    QSizeF sizeThatFits(const Proposal& p) override {
        return inner_->sizeThatFits(childProposal(p));
    }
    void place(const QRectF& r) override {
        QSizeF inner = inner_->sizeThatFits(childProposal({r.width(), r.height()}));
        inner_->place(alignIn(r, inner, Alignment::center()));
    }

  private:
    Proposal childProposal(const Proposal& p) const {
        return {fixed_.horizontal ? std::nullopt : p.width,
                fixed_.vertical ? std::nullopt : p.height};
    }
    FixedSizeModifier fixed_;
};

class DecorationLayer final : public LayerBox {
  public:
    explicit DecorationLayer(QWidget* container)
        : LayerBox('D'), widget_(new DecorationWidget(container)) {
        widget_->show();
    }
    ~DecorationLayer() override { delete widget_.data(); }
    void configure(const LayerSpec& spec, const EnvironmentValues& env) override {
        widget_->setFills(spec.fills, spec.clip);
        widget_->onTap = spec.tap;
        widget_->tapCount = spec.tapCount;
        widget_->onHover = spec.hover;
        widget_->setToolTip(QString::fromStdString(spec.help));
        widget_->setEnabled(env.isEnabled);
        help_ = spec.help;
        background_.reset();
        for (const auto& fill : spec.fills) {
            if (const auto* color = std::get_if<Color>(&fill.style)) {
                background_ = *color;
                break;
            }
        }
    }
    QWidget* widget() const override { return widget_; }
    std::string toolTip() const override { return help_; }
    std::optional<Color> background() const override { return background_; }
    QSizeF sizeThatFits(const Proposal& p) override { return inner_->sizeThatFits(p); }
    void place(const QRectF& r) override {
        widget_->setGeometry(pixelRect(r));
        inner_->place(QRectF(0, 0, r.width(), r.height()));
    }

  private:
    QPointer<DecorationWidget> widget_;
    std::string help_;
    std::optional<Color> background_;
};

}  // namespace

std::vector<LayerSpec> layerSpecs(const View& view) {
    std::vector<LayerSpec> specs;
    auto decoration = [&](bool forFill) -> LayerSpec& {
        if (specs.empty() || specs.back().kind != 'D' || (forFill && specs.back().clip)) {
            specs.push_back(specOf('D'));
        }
        return specs.back();
    };
    for (const Modifier& modifier : view.modifiers()) {
        std::visit(
            [&](const auto& m) {
                using M = std::decay_t<decltype(m)>;
                if constexpr (std::is_same_v<M, PaddingModifier>) {
                    specs.push_back(specOf('P'));
                    specs.back().insets = m.insets;
                } else if constexpr (std::is_same_v<M, FrameModifier>) {
                    LayerSpec s = specOf('F');
                    s.frame = m;
                    specs.push_back(s);
                } else if constexpr (std::is_same_v<M, FlexibleFrameModifier>) {
                    LayerSpec s = specOf('X');
                    s.flex = m.frame;
                    specs.push_back(s);
                } else if constexpr (std::is_same_v<M, FixedSizeModifier>) {
                    LayerSpec s = specOf('S');
                    s.fixed = m;
                    specs.push_back(s);
                } else if constexpr (std::is_same_v<M, BackgroundModifier>) {
                    decoration(true).fills.push_back({m.style, m.shape});
                } else if constexpr (std::is_same_v<M, ClipShapeModifier>) {
                    LayerSpec& d = decoration(false);
                    if (d.clip) {
                        specs.push_back(specOf('D'));
                        specs.back().clip = m.shape;
                    } else {
                        d.clip = m.shape;
                    }
                } else if constexpr (std::is_same_v<M, ContentShapeModifier>) {
                    decoration(false);
                } else if constexpr (std::is_same_v<M, OnTapGestureModifier>) {
                    LayerSpec& d = decoration(false);
                    d.tap = m.action;
                    d.tapCount = m.count;
                } else if constexpr (std::is_same_v<M, OnHoverModifier>) {
                    decoration(false).hover = m.action;
                } else if constexpr (std::is_same_v<M, HelpModifier>) {
                    decoration(false).help = m.text;
                }
            },
            modifier);
    }
    std::reverse(specs.begin(), specs.end());
    return specs;
}

std::unique_ptr<LayerBox> makeLayer(char kind, QWidget* container) {
    switch (kind) {
        case 'P':
            return std::make_unique<PaddingLayer>();
        case 'F':
            return std::make_unique<FrameLayer>();
        case 'X':
            return std::make_unique<FlexibleFrameLayer>();
        case 'S':
            return std::make_unique<FixedSizeLayer>();
        default:
            return std::make_unique<DecorationLayer>(container);
    }
}

}  // namespace corvane::platform::ui
