#include "platform/qt/Host.h"

#include <QCheckBox>
#include <QScrollBar>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "platform/foundation/LocalizedStrings.h"
#include "platform/qt/Artwork.h"
#include "platform/qt/LayoutGeometry.h"
#include "platform/qt/ModifierLayers.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/Widgets.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform::ui {

using qt::ButtonWidget;
using namespace geometry;

namespace {

bool matchesShortcut(const KeyboardShortcut& shortcut, const NSEvent& event) {
    constexpr NSEventModifierFlags kMask = NSEventModifierFlagShift | NSEventModifierFlagControl |
                                           NSEventModifierFlagOption | NSEventModifierFlagCommand;
    if (event.type != NSEventType::keyDown)
        return false;
    if ((event.modifierFlags & kMask) != (shortcut.modifiers & kMask))
        return false;
    const std::string chars = event.charactersIgnoringModifiers.value_or("");
    if (const auto* special = std::get_if<KeyEquivalent>(&shortcut.key)) {
        if (*special == KeyEquivalent::returnKey)
            return chars == "\r";
        return chars == "\x1b";
    }
    const char key = std::get<char>(shortcut.key);
    return chars.size() == 1 && std::tolower(static_cast<unsigned char>(chars[0])) ==
                                    std::tolower(static_cast<unsigned char>(key));
}

EnvironmentValues environmentFor(const View& view, EnvironmentValues env) {
    const auto& mods = view.modifiers();
    for (auto it = mods.rbegin(); it != mods.rend(); ++it) {
        std::visit(
            [&](const auto& m) {
                using M = std::decay_t<decltype(m)>;
                if constexpr (std::is_same_v<M, FontModifier>) {
                    env.font = m.font;
                } else if constexpr (std::is_same_v<M, FontWeightModifier>) {
                    env.fontWeight = m.weight;
                } else if constexpr (std::is_same_v<M, ForegroundStyleModifier> ||
                                     std::is_same_v<M, ForegroundColorModifier>) {
                    env.foreground = m.color;
                } else if constexpr (std::is_same_v<M, DisabledModifier>) {
                    env.isEnabled = env.isEnabled && !m.disabled;
                } else if constexpr (std::is_same_v<M, ToggleStyleModifier>) {
                    env.toggleStyle = m.style;
                } else if constexpr (std::is_same_v<M, ButtonStyleModifier>) {
                    env.buttonStyle = m.builtIn;
                    env.customButtonStyle = m.custom;
                } else if constexpr (std::is_same_v<M, LabelsHiddenModifier>) {
                    env.labelsHidden = true;
                } else if constexpr (std::is_same_v<M, ListStyleModifier>) {
                    env.listStyle = m.style;
                } else if constexpr (std::is_same_v<M, KeyboardShortcutModifier>) {
                    env.keyboardShortcut = m.shortcut;
                } else if constexpr (std::is_same_v<M, ScaleEffectModifier>) {
                    env.scale *= m.scale;
                } else if constexpr (std::is_same_v<M, EnvironmentModifier>) {
                    m.apply(env);
                }
            },
            *it);
    }
    return env;
}

}  // namespace

// ---- Elements. ----

class ElementBox : public Box {
  public:
    ElementBox(Host& host, QWidget* container) : host_(host), container_(container) {}
    /// Whether `element` is of this box's kind (so the box can show it).
    virtual bool accepts(const Element& element) const = 0;
    virtual void update(const View& view, const EnvironmentValues& env) = 0;
    virtual QWidget* widget() const { return nullptr; }
    virtual void describe(ElementInfo&) const {}
    virtual void collectChildren(std::vector<std::shared_ptr<NodeBox>>&) const {}
    virtual bool performKeyEquivalent(const NSEvent&) { return false; }
    virtual bool isEmpty() const { return false; }
    virtual bool isSpacer() const { return false; }

  protected:
    Host& host_;
    QPointer<QWidget> container_;
};

struct NodeBox::Impl {
    Impl(Host& h, QWidget* c, std::optional<Axis> a) : host(h), container(c), axis(a) {}
    Host& host;
    QPointer<QWidget> container;
    std::optional<Axis> axis;
    View view;
    EnvironmentValues env;
    std::string signature;
    std::vector<std::unique_ptr<LayerBox>> layers;  // outermost first
    std::unique_ptr<ElementBox> element;
    std::vector<AnyEquatable> seen;  // per change observer, in modifier order
    struct Presentation;
    std::vector<std::unique_ptr<Presentation>> presentations;
    QRectF placed;
    bool rowSelected = false;
    std::uint64_t cacheGeneration = 0;
    std::vector<std::pair<Proposal, QSizeF>> cache;

    Box& outer() { return layers.empty() ? static_cast<Box&>(*element) : *layers.front(); }
    QWidget* elementContainer() const {
        for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
            if (QWidget* w = (*it)->widget())
                return w;
        }
        return container;
    }
};

namespace {

class EmptyBox final : public ElementBox {
  public:
    using ElementBox::ElementBox;
    bool accepts(const Element& e) const override {
        return std::holds_alternative<EmptyElement>(e);
    }
    void update(const View&, const EnvironmentValues&) override {}
    QSizeF sizeThatFits(const Proposal&) override { return {0, 0}; }
    void place(const QRectF&) override {}
    bool isEmpty() const override { return true; }
};

class SpacerBox final : public ElementBox {
  public:
    SpacerBox(Host& h, QWidget* c, std::optional<Axis> axis) : ElementBox(h, c), axis_(axis) {}
    bool accepts(const Element& e) const override {
        return std::holds_alternative<SpacerElement>(e);
    }
    void update(const View& view, const EnvironmentValues&) override {
        minLength_ = view.as<SpacerElement>()->minLength.value_or(kDefaultSpacing);
    }
    QSizeF sizeThatFits(const Proposal& p) override {
        if (!axis_)
            return {std::max(minLength_, p.width.value_or(minLength_)),
                    std::max(minLength_, p.height.value_or(minLength_))};
        const double along = std::max(minLength_, alongOf(p, *axis_).value_or(minLength_));
        return sizeOn(*axis_, along, 0);
    }
    void place(const QRectF&) override {}
    bool isSpacer() const override { return true; }

  private:
    std::optional<Axis> axis_;
    double minLength_ = kDefaultSpacing;
};

class DividerBox final : public ElementBox {
  public:
    DividerBox(Host& h, QWidget* c, std::optional<Axis> axis)
        : ElementBox(h, c),
          axis_(axis.value_or(Axis::vertical)),
          widget_(new qt::DividerWidget(c)) {
        widget_->show();
    }
    ~DividerBox() override { delete widget_.data(); }
    bool accepts(const Element& e) const override {
        return std::holds_alternative<DividerElement>(e);
    }
    void update(const View&, const EnvironmentValues&) override {}
    QWidget* widget() const override { return widget_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        // A divider runs across its stack: a line along the other axis.
        const Axis lineAxis = axis_ == Axis::vertical ? Axis::horizontal : Axis::vertical;
        const double length = finite(alongOf(p, lineAxis)) ? *alongOf(p, lineAxis) : 0;
        return sizeOn(lineAxis, length, 1);
    }
    void place(const QRectF& r) override { widget_->setGeometry(pixelRect(r)); }

  private:
    Axis axis_;
    QPointer<qt::DividerWidget> widget_;
};

class TextBox final : public ElementBox {
  public:
    TextBox(Host& h, QWidget* c) : ElementBox(h, c), widget_(new qt::TextWidget(c)) {
        widget_->show();
    }
    ~TextBox() override { delete widget_.data(); }
    bool accepts(const Element& e) const override { return std::holds_alternative<TextElement>(e); }
    void update(const View& view, const EnvironmentValues& env) override {
        const auto& text = *view.as<TextElement>();
        shown_ = text.localized ? LocalizedStrings::main().localizedString(text.text) : text.text;
        font_ = qt::environmentFont(env);
        QColor color = qt::foregroundColor(env);
        if (!env.isEnabled)
            color.setAlphaF(color.alphaF() * 0.5f);
        widget_->set(QString::fromStdString(shown_), font_, color);
    }
    QWidget* widget() const override { return widget_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        return qt::measureText(QString::fromStdString(shown_), font_, p.width);
    }
    void place(const QRectF& r) override { widget_->setGeometry(pixelRect(r)); }
    void describe(ElementInfo& info) const override { info.label = shown_; }

  private:
    QPointer<qt::TextWidget> widget_;
    std::string shown_;
    QFont font_;
};

class ImageBox final : public ElementBox {
  public:
    static constexpr double kAssetSide = 128;  ///< natural size of an asset, points

    ImageBox(Host& h, QWidget* c) : ElementBox(h, c), widget_(new qt::ImageWidget(c)) {
        widget_->show();
    }
    ~ImageBox() override { delete widget_.data(); }
    bool accepts(const Element& e) const override {
        return std::holds_alternative<ImageElement>(e);
    }
    void update(const View& view, const EnvironmentValues& env) override {
        image_ = *view.as<ImageElement>();
        font_ = qt::environmentFont(env);
        widget_->set(image_, font_, qt::foregroundColor(env), env.scale);
    }
    QWidget* widget() const override { return widget_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        QSizeF natural;
        if (image_.source == ImageElement::Source::asset) {
            natural =
                qt::hasImageAsset(image_.name) ? QSizeF(kAssetSide, kAssetSide) : QSizeF(0, 0);
        } else if (image_.source == ImageElement::Source::icon) {
            natural = QSizeF(image_.width, image_.height);
        } else {
            natural = qt::systemSymbolSize(image_.name, font_);
        }
        if (!image_.resizable)
            return natural;
        const bool w = finite(p.width);
        const bool h = finite(p.height);
        if (!w && !h)
            return natural;
        if (!image_.contentMode || natural.isEmpty()) {
            return {w ? *p.width : natural.width(), h ? *p.height : natural.height()};
        }
        const double aspect = natural.width() / natural.height();
        const double pw = w ? *p.width : *p.height * aspect;
        const double ph = h ? *p.height : *p.width / aspect;
        const bool fit = *image_.contentMode == ContentMode::fit;
        const double byWidth = pw / aspect;
        if ((byWidth <= ph) == fit)
            return {pw, byWidth};
        return {ph * aspect, ph};
    }
    void place(const QRectF& r) override { widget_->setGeometry(pixelRect(r)); }
    void describe(ElementInfo& info) const override { info.label = image_.name; }

  private:
    QPointer<qt::ImageWidget> widget_;
    ImageElement image_;
    QFont font_;
};

class ToggleBox final : public ElementBox {
  public:
    using ElementBox::ElementBox;
    ~ToggleBox() override { clear(); }
    bool accepts(const Element& e) const override {
        return std::holds_alternative<ToggleElement>(e);
    }
    void update(const View& view, const EnvironmentValues& env) override {
        toggle_ = *view.as<ToggleElement>();
        env_ = env;
        const bool asSwitch = env.toggleStyle == ToggleStyle::switchStyle;
        if (asSwitch != (switch_ != nullptr) || (!switch_ && !checkbox_))
            build(asSwitch);
        const bool on = toggle_.isOn.get();
        const QString title = QString::fromStdString(titleText());
        if (switch_) {
            switch_->set(on, env.scale, qt::toQColor(Color::accentColor()));
            switch_->setEnabled(env.isEnabled);
            label_->set(title, qt::environmentFont(env), qt::foregroundColor(env));
            label_->setVisible(showsLabel());
        } else {
            QSignalBlocker block(checkbox_);
            checkbox_->setText(showsLabel() ? title : QString());
            checkbox_->setFont(qt::environmentFont(env));
            checkbox_->setChecked(on);
            checkbox_->setEnabled(env.isEnabled);
        }
    }
    QWidget* widget() const override {
        return switch_ ? static_cast<QWidget*>(switch_) : static_cast<QWidget*>(checkbox_);
    }
    QSizeF sizeThatFits(const Proposal&) override {
        if (switch_) {
            QSizeF s(qt::SwitchWidget::kWidth, qt::SwitchWidget::kHeight);
            if (showsLabel()) {
                QSizeF l = qt::measureText(QString::fromStdString(titleText()),
                                           qt::environmentFont(env_), {});
                return {l.width() + kDefaultSpacing + s.width(), std::max(l.height(), s.height())};
            }
            return s;
        }
        QSize hint = checkbox_->sizeHint();
        return {static_cast<double>(hint.width()), static_cast<double>(hint.height())};
    }
    void place(const QRectF& r) override {
        if (switch_) {
            QRectF sw(r.right() - qt::SwitchWidget::kWidth, r.y(), qt::SwitchWidget::kWidth,
                      r.height());
            switch_->setGeometry(pixelRect(sw));
            label_->setGeometry(
                pixelRect(QRectF(r.x(), r.y(), std::max(0.0, sw.x() - r.x()), r.height())));
        } else {
            checkbox_->setGeometry(pixelRect(r));
        }
    }
    void describe(ElementInfo& info) const override {
        info.label = titleText();
        info.isOn = toggle_.isOn.get();
        info.toggleStyle = env_.toggleStyle;
    }

  private:
    std::string titleText() const {
        return LocalizedStrings::main().localizedString(toggle_.title);
    }
    bool showsLabel() const { return !env_.labelsHidden && !toggle_.title.empty(); }
    void clear() {
        delete switch_.data();
        delete label_.data();
        delete checkbox_.data();
    }
    void build(bool asSwitch) {
        clear();
        if (asSwitch) {
            label_ = new qt::TextWidget(container_);
            switch_ = new qt::SwitchWidget(container_);
            switch_->onToggle = [this](bool on) { write(on); };
            label_->show();
            switch_->show();
        } else {
            checkbox_ = new QCheckBox(container_);
            QObject::connect(checkbox_, &QCheckBox::toggled, [this](bool on) { write(on); });
            checkbox_->show();
        }
    }
    void write(bool on) {
        toggle_.isOn.set(on);
        host_.invalidate();
    }
    ToggleElement toggle_;
    EnvironmentValues env_;
    QPointer<qt::SwitchWidget> switch_;
    QPointer<qt::TextWidget> label_;
    QPointer<QCheckBox> checkbox_;
};

class SliderBox final : public ElementBox {
  public:
    static constexpr double kIdealWidth = 120;  ///< points, when no width is offered

    SliderBox(Host& h, QWidget* c) : ElementBox(h, c), slider_(new QSlider(Qt::Horizontal, c)) {
        slider_->show();
        QObject::connect(slider_, &QSlider::valueChanged, [this](int position) {
            if (!programmatic_)
                write(position);
        });
    }
    ~SliderBox() override { delete slider_.data(); }
    bool accepts(const Element& e) const override {
        return std::holds_alternative<SliderElement>(e);
    }
    void update(const View& view, const EnvironmentValues& env) override {
        slider_element_ = *view.as<SliderElement>();
        slider_->setEnabled(env.isEnabled);
        programmatic_ = true;
        slider_->setRange(0, steps());
        // The knob the user holds stays where the user put it.
        if (!slider_->isSliderDown())
            slider_->setValue(positionOf(slider_element_.value.get()));
        programmatic_ = false;
    }
    QWidget* widget() const override { return slider_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        double w = kIdealWidth;
        if (p.width)
            w = std::max(20.0, *p.width);
        return {w, 20};
    }
    void place(const QRectF& r) override { slider_->setGeometry(pixelRect(r)); }
    void describe(ElementInfo& info) const override {
        info.value = slider_element_.value.get();
        const double span = slider_element_.upperBound - slider_element_.lowerBound;
        info.knobValue =
            slider_element_.lowerBound + span * slider_->value() / std::max(1, steps());
    }

    int positionOf(double value) const { return sliderPosition(slider_element_, value); }

  private:
    int steps() const { return sliderSteps(slider_element_); }
    void write(int position) {
        double value;
        if (slider_element_.step && *slider_element_.step > 0) {
            value = slider_element_.lowerBound + position * *slider_element_.step;
        } else {
            value = slider_element_.lowerBound +
                    (slider_element_.upperBound - slider_element_.lowerBound) * position / steps();
        }
        slider_element_.value.set(std::min(value, slider_element_.upperBound));
        host_.invalidate();
    }
    QPointer<QSlider> slider_;
    SliderElement slider_element_;
    bool programmatic_ = false;
};

}  // namespace

int sliderSteps(const SliderElement& slider) {
    const double span = slider.upperBound - slider.lowerBound;
    if (slider.step && *slider.step > 0 && span > 0) {
        return std::max(1, static_cast<int>(std::floor(span / *slider.step + 1e-9)));
    }
    return 1000;
}

int sliderPosition(const SliderElement& slider, double value) {
    const double span = slider.upperBound - slider.lowerBound;
    if (!(span > 0) || !std::isfinite(value))
        return 0;
    const double fraction = (value - slider.lowerBound) / span;
    return static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * sliderSteps(slider)));
}

// Boxes that hold child nodes.

class StackBox final : public ElementBox {
  public:
    using ElementBox::ElementBox;
    bool accepts(const Element& e) const override {
        const auto* s = std::get_if<StackElement>(&e);
        return s != nullptr && s->axis == stack_.axis;
    }
    void setAxis(Axis axis) { stack_.axis = axis; }
    void update(const View& view, const EnvironmentValues& env) override {
        stack_ = *view.as<StackElement>();
        reconcile(view.children(), env);
    }
    QSizeF sizeThatFits(const Proposal& p) override {
        std::vector<QSizeF> sizes;
        return measure(p, sizes);
    }
    void place(const QRectF& r) override {
        std::vector<QSizeF> sizes;
        measure({r.width(), r.height()}, sizes);
        const Axis ax = stack_.axis;
        double cursor = ax == Axis::horizontal ? r.x() : r.y();
        const double crossStart = ax == Axis::horizontal ? r.y() : r.x();
        const double crossLength = ax == Axis::horizontal ? r.height() : r.width();
        const auto gaps = spacings();
        for (std::size_t i = 0; i < children_.size(); ++i) {
            const QSizeF s = sizes[i];
            const double free = crossLength - acrossOf(s, ax);
            const double offset = ax == Axis::horizontal
                                      ? offsetFor(stack_.verticalAlignment, free)
                                      : offsetFor(stack_.horizontalAlignment, free);
            QRectF rect = ax == Axis::horizontal
                              ? QRectF(cursor, crossStart + offset, s.width(), s.height())
                              : QRectF(crossStart + offset, cursor, s.width(), s.height());
            children_[i]->place(rect);
            cursor += alongOf(s, ax) + gaps[i];
        }
    }
    void collectChildren(std::vector<std::shared_ptr<NodeBox>>& into) const override {
        into.insert(into.end(), children_.begin(), children_.end());
    }

  private:
    // The gap after each child (none after the last shown one). Without an explicit
    // spacing, a spacer stands next to its neighbours with no gap of its own.
    std::vector<double> spacings() const {
        std::vector<double> gaps(children_.size(), 0);
        std::optional<std::size_t> previous;
        for (std::size_t i = 0; i < children_.size(); ++i) {
            if (children_[i]->isEmpty())
                continue;
            if (previous) {
                double gap = stack_.spacing.value_or(
                    children_[*previous]->isSpacer() || children_[i]->isSpacer() ? 0
                                                                                 : kDefaultSpacing);
                gaps[*previous] = gap;
            }
            previous = i;
        }
        return gaps;
    }
    QSizeF measure(const Proposal& p, std::vector<QSizeF>& sizes) {
        const Axis ax = stack_.axis;
        const auto along = alongOf(p, ax);
        const auto across = acrossOf(p, ax);
        const auto gaps = spacings();
        double spacing = 0;
        for (double g : gaps)
            spacing += g;
        sizes.assign(children_.size(), QSizeF(0, 0));
        if (!finite(along)) {
            for (std::size_t i = 0; i < children_.size(); ++i) {
                sizes[i] = children_[i]->sizeThatFits(proposalOn(ax, along, across));
            }
        } else {
            // The least flexible child is offered its share first; what it leaves goes to
            // the others.
            std::vector<std::pair<double, std::size_t>> order;
            for (std::size_t i = 0; i < children_.size(); ++i) {
                if (children_[i]->isEmpty())
                    continue;
                const double least =
                    alongOf(children_[i]->sizeThatFits(proposalOn(ax, 0.0, across)), ax);
                const double most =
                    alongOf(children_[i]->sizeThatFits(proposalOn(ax, kInfinity, across)), ax);
                order.emplace_back(most - least, i);
            }
            std::stable_sort(order.begin(), order.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            double remaining = std::max(0.0, *along - spacing);
            std::size_t left = order.size();
            for (const auto& [flexibility, i] : order) {
                (void)flexibility;
                const double share = remaining / static_cast<double>(left--);
                sizes[i] = children_[i]->sizeThatFits(proposalOn(ax, share, across));
                remaining = std::max(0.0, remaining - alongOf(sizes[i], ax));
            }
        }
        double total = spacing;
        double cross = 0;
        for (const QSizeF& s : sizes) {
            total += alongOf(s, ax);
            cross = std::max(cross, acrossOf(s, ax));
        }
        return sizeOn(ax, total, cross);
    }
    void reconcile(const std::vector<View>& views, const EnvironmentValues& env);

    StackElement stack_;
    std::vector<std::shared_ptr<NodeBox>> children_;
};

/// Matches new child views to mounted nodes: by identity when a view has one, else by
/// position; matched nodes are updated in place, others mounted anew or dropped.
std::vector<std::shared_ptr<NodeBox>> reconcileChildren(Host& host, QWidget* container,
                                                        std::vector<std::shared_ptr<NodeBox>> old,
                                                        const std::vector<View>& views,
                                                        const EnvironmentValues& env,
                                                        std::optional<Axis> axis) {
    std::vector<std::shared_ptr<NodeBox>> next;
    std::vector<bool> used(old.size(), false);
    for (std::size_t i = 0; i < views.size(); ++i) {
        const View& view = views[i];
        std::string identity;
        if (const auto* id = view.modifier<IdModifier>())
            identity = id->id;
        else if (const auto* tag = view.modifier<TagModifier>())
            identity = tag->tag;
        std::shared_ptr<NodeBox> match;
        if (!identity.empty()) {
            for (std::size_t j = 0; j < old.size(); ++j) {
                if (!used[j] && old[j] && old[j]->identity() == identity) {
                    match = old[j];
                    used[j] = true;
                    break;
                }
            }
        } else if (i < old.size() && !used[i] && old[i] && old[i]->identity().empty()) {
            match = old[i];
            used[i] = true;
        }
        if (match && match->update(view, env)) {
            next.push_back(match);
        } else {
            next.push_back(NodeBox::mount(host, container, view, env, axis));
        }
    }
    return next;
}

void StackBox::reconcile(const std::vector<View>& views, const EnvironmentValues& env) {
    children_ = reconcileChildren(host_, container_, std::move(children_), views, env, stack_.axis);
}

namespace {

class ButtonBox final : public ElementBox {
  public:
    static constexpr double kBezelHeight = 22;  ///< points, the push button's least height
    static constexpr EdgeInsets kBezelInsets{3, 10, 3, 10};

    ButtonBox(Host& h, QWidget* c) : ElementBox(h, c), widget_(new ButtonWidget(c)) {
        widget_->show();
        widget_->onClick = [this] { trigger(); };
        widget_->onPressedChanged = [this](bool pressed) {
            pressed_ = pressed;
            if (env_.customButtonStyle)
                host_.invalidate();
        };
    }
    ~ButtonBox() override {
        content_.reset();
        delete widget_.data();
    }
    bool accepts(const Element& e) const override {
        return std::holds_alternative<ButtonElement>(e);
    }
    void update(const View& view, const EnvironmentValues& env) override {
        button_ = *view.as<ButtonElement>();
        env_ = env;
        widget_->setEnabled(env.isEnabled);
        View label = view.children().empty() ? EmptyView() : view.children()[0];
        EnvironmentValues inner = env;
        inner.keyboardShortcut.reset();
        View content = label;
        if (env.customButtonStyle) {
            widget_->setBezel(ButtonWidget::Bezel::none);
            content = env.customButtonStyle->makeBody({label, pressed_});
            inner.customButtonStyle.reset();
        } else if (env.buttonStyle == BuiltInButtonStyle::plain) {
            widget_->setBezel(ButtonWidget::Bezel::none);
        } else if (env.buttonStyle == BuiltInButtonStyle::borderedProminent || isDefaultAction()) {
            widget_->setBezel(ButtonWidget::Bezel::prominent);
            inner.foreground = Color::white();
        } else {
            widget_->setBezel(ButtonWidget::Bezel::bordered);
        }
        if (!content_ || !content_->update(content, inner)) {
            content_ = NodeBox::mount(host_, widget_, content, inner, std::nullopt);
        }
    }
    QWidget* widget() const override { return widget_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        if (!hasBezel())
            return content_->sizeThatFits(p);
        const double h = kBezelInsets.leading + kBezelInsets.trailing;
        const double v = kBezelInsets.top + kBezelInsets.bottom;
        QSizeF label = content_->sizeThatFits({shrink(p.width, h), shrink(p.height, v)});
        return {label.width() + h, std::max(kBezelHeight, label.height() + v)};
    }
    void place(const QRectF& r) override {
        widget_->setGeometry(pixelRect(r));
        QRectF local(0, 0, r.width(), r.height());
        if (!hasBezel()) {
            content_->place(local);
            return;
        }
        QRectF inner = local.adjusted(kBezelInsets.leading, kBezelInsets.top,
                                      -kBezelInsets.trailing, -kBezelInsets.bottom);
        QSizeF label = content_->sizeThatFits({inner.width(), inner.height()});
        content_->place(alignIn(inner, label, Alignment::center()));
    }
    void describe(ElementInfo& info) const override {
        ElementInfo label = content_->describe();
        std::vector<std::shared_ptr<NodeBox>> nodes;
        content_->collect(nodes);
        for (const auto& node : nodes) {
            if (const auto* text = node->view().as<TextElement>()) {
                info.label = LocalizedStrings::main().localizedString(text->text);
                break;
            }
            if (const auto* image = node->view().as<ImageElement>()) {
                info.label = image->name;
                break;
            }
        }
        info.isDefaultAction = isDefaultAction();
        info.buttonStyle = env_.buttonStyle;
        info.customButtonStyle = env_.customButtonStyle != nullptr;
        info.pressed = pressed_;
    }
    void collectChildren(std::vector<std::shared_ptr<NodeBox>>& into) const override {
        into.push_back(content_);
    }
    bool performKeyEquivalent(const NSEvent& event) override {
        if (!env_.keyboardShortcut || !env_.isEnabled ||
            !matchesShortcut(*env_.keyboardShortcut, event)) {
            return false;
        }
        trigger();
        return true;
    }

  private:
    bool isDefaultAction() const {
        return env_.keyboardShortcut && *env_.keyboardShortcut == KeyboardShortcut::defaultAction();
    }
    bool hasBezel() const {
        return !env_.customButtonStyle && env_.buttonStyle != BuiltInButtonStyle::plain;
    }
    void trigger() {
        if (button_.action)
            button_.action();
        host_.invalidate();
    }
    QPointer<ButtonWidget> widget_;
    ButtonElement button_;
    EnvironmentValues env_;
    std::shared_ptr<NodeBox> content_;
    bool pressed_ = false;
};

class ListBox final : public ElementBox {
  public:
    static constexpr double kRowInsetV = 4;  ///< points above and below each row
    static constexpr double kRowInsetH = 8;  ///< points before and after each row
    static constexpr double kFrameInset = 2;

    ListBox(Host& h, QWidget* c) : ElementBox(h, c), frame_(new qt::ListFrameWidget(c)) {
        frame_->show();
    }
    ~ListBox() override {
        rows_.clear();
        delete frame_.data();
    }
    bool accepts(const Element& e) const override { return std::holds_alternative<ListElement>(e); }
    void update(const View& view, const EnvironmentValues& env) override {
        list_ = *view.as<ListElement>();
        frame_->setBordered(env.listStyle == ListStyle::automatic);
        frame_->setEnabled(env.isEnabled);
        // Rows keep their widgets (and the state inside them) by identity.
        std::vector<Row> next;
        const auto& views = view.children();
        for (const View& rowView : views) {
            std::string identity;
            if (const auto* id = rowView.modifier<IdModifier>())
                identity = id->id;
            else if (const auto* tag = rowView.modifier<TagModifier>())
                identity = tag->tag;
            Row row;
            for (auto& old : rows_) {
                if (old.widget && !identity.empty() && old.node &&
                    old.node->identity() == identity) {
                    row = std::move(old);
                    break;
                }
            }
            if (!row.widget) {
                row.widget = new qt::RowWidget(frame_->content());
                row.widget->show();
            }
            if (!row.node || !row.node->update(rowView, env)) {
                row.node = NodeBox::mount(host_, row.widget, rowView, env, Axis::horizontal);
            }
            const auto* tag = rowView.modifier<TagModifier>();
            std::optional<std::string> tagValue = tag ? std::optional(tag->tag) : std::nullopt;
            row.widget->onClick = [this, tagValue] {
                if (list_.selection && tagValue) {
                    list_.selection->set(tagValue);
                    host_.invalidate();
                }
            };
            const bool selected = list_.selection && tagValue && list_.selection->get() == tagValue;
            row.widget->setSelected(selected);
            row.node->impl().rowSelected = selected;
            next.push_back(std::move(row));
        }
        for (auto& old : rows_) {
            if (old.widget) {
                old.node.reset();
                delete old.widget.data();
            }
        }
        rows_ = std::move(next);
    }
    QWidget* widget() const override { return frame_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        if (p.width && p.height)
            return {*p.width, *p.height};
        double width = 0;
        double height = 2 * kFrameInset;
        for (auto& row : rows_) {
            QSizeF s = row.node->sizeThatFits(
                {shrink(p.width, 2 * (kRowInsetH + kFrameInset)), std::nullopt});
            width = std::max(width, s.width() + 2 * (kRowInsetH + kFrameInset));
            height += s.height() + 2 * kRowInsetV;
        }
        return {p.width.value_or(width), p.height.value_or(height)};
    }
    void place(const QRectF& r) override {
        frame_->setGeometry(pixelRect(r));
        const double width = std::max(0.0, r.width() - 2 * kFrameInset);
        double y = kFrameInset;
        for (auto& row : rows_) {
            const double inner = std::max(0.0, width - 2 * kRowInsetH);
            QSizeF s = row.node->sizeThatFits({inner, std::nullopt});
            const double h = s.height() + 2 * kRowInsetV;
            row.widget->setGeometry(pixelRect(QRectF(kFrameInset, y, width, h)));
            row.node->place(QRectF(kRowInsetH, kRowInsetV, inner, s.height()));
            y += h;
        }
        frame_->content()->resize(static_cast<int>(std::ceil(width + 2 * kFrameInset)),
                                  static_cast<int>(std::ceil(y + kFrameInset)));
    }
    void collectChildren(std::vector<std::shared_ptr<NodeBox>>& into) const override {
        for (const auto& row : rows_)
            into.push_back(row.node);
    }

  private:
    struct Row {
        QPointer<qt::RowWidget> widget;
        std::shared_ptr<NodeBox> node;
    };
    QPointer<qt::ListFrameWidget> frame_;
    ListElement list_;
    std::vector<Row> rows_;
};

class GroupBoxBox final : public ElementBox {
  public:
    static constexpr double kInset = 10;    ///< points inside the panel
    static constexpr double kLabelGap = 6;  ///< points between label and panel

    GroupBoxBox(Host& h, QWidget* c) : ElementBox(h, c), panel_(new qt::GroupPanelWidget(c)) {
        panel_->show();
    }
    ~GroupBoxBox() override {
        label_.reset();
        content_.reset();
        delete panel_.data();
    }
    bool accepts(const Element& e) const override {
        return std::holds_alternative<GroupBoxElement>(e);
    }
    void update(const View& view, const EnvironmentValues& env) override {
        const View label = view.children().size() > 0 ? view.children()[0] : EmptyView();
        const View content = view.children().size() > 1 ? view.children()[1] : EmptyView();
        if (!label_ || !label_->update(label, env))
            label_ = NodeBox::mount(host_, container_, label, env, {});
        if (!content_ || !content_->update(content, env)) {
            content_ = NodeBox::mount(host_, panel_, content, env, {});
        }
    }
    QWidget* widget() const override { return panel_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        QSizeF label = label_->sizeThatFits({p.width, std::nullopt});
        QSizeF content =
            content_->sizeThatFits({shrink(p.width, 2 * kInset),
                                    shrink(p.height, label.height() + kLabelGap + 2 * kInset)});
        return {std::max(label.width(), content.width() + 2 * kInset),
                label.height() + kLabelGap + content.height() + 2 * kInset};
    }
    void place(const QRectF& r) override {
        QSizeF label = label_->sizeThatFits({r.width(), std::nullopt});
        label_->place(QRectF(r.x(), r.y(), r.width(), label.height()));
        const double top = label.height() + kLabelGap;
        QRectF panel(r.x(), r.y() + top, r.width(), std::max(0.0, r.height() - top));
        panel_->setGeometry(pixelRect(panel));
        content_->place(QRectF(kInset, kInset, std::max(0.0, panel.width() - 2 * kInset),
                               std::max(0.0, panel.height() - 2 * kInset)));
    }
    void collectChildren(std::vector<std::shared_ptr<NodeBox>>& into) const override {
        into.push_back(label_);
        into.push_back(content_);
    }

  private:
    QPointer<qt::GroupPanelWidget> panel_;
    std::shared_ptr<NodeBox> label_;
    std::shared_ptr<NodeBox> content_;
};

class ComponentBox final : public ElementBox {
  public:
    using ElementBox::ElementBox;
    bool accepts(const Element& e) const override {
        const auto* c = std::get_if<ComponentElement>(&e);
        return c != nullptr && (!component_ || c->component->type() == component_->type());
    }
    void update(const View& view, const EnvironmentValues& env) override {
        auto next = view.as<ComponentElement>()->component->clone();
        if (component_)
            next->adoptState(*component_);
        component_ = std::move(next);
        subscriptions_.clear();
        Host* host = &host_;
        component_->subscribe([host] { host->invalidate(); }, subscriptions_);
        component_->bindEnvironment(env);
        const View body = component_->body();
        if (!body_ || !body_->update(body, env))
            body_ = NodeBox::mount(host_, container_, body, env, axis_);
    }
    void setAxis(std::optional<Axis> axis) { axis_ = axis; }
    QSizeF sizeThatFits(const Proposal& p) override { return body_->sizeThatFits(p); }
    void place(const QRectF& r) override { body_->place(r); }
    void collectChildren(std::vector<std::shared_ptr<NodeBox>>& into) const override {
        into.push_back(body_);
    }
    bool isEmpty() const override { return body_ && body_->isEmpty(); }
    bool isSpacer() const override { return body_ && body_->isSpacer(); }

  private:
    std::unique_ptr<ComponentBase> component_;
    std::vector<AnyCancellable> subscriptions_;
    std::shared_ptr<NodeBox> body_;
    std::optional<Axis> axis_;
};

class RepresentableBox final : public ElementBox {
  public:
    using ElementBox::ElementBox;
    ~RepresentableBox() override;
    bool accepts(const Element& e) const override {
        const auto* r = std::get_if<RepresentableElement>(&e);
        return r != nullptr && (!type_ || r->representable->type() == *type_);
    }
    void update(const View& view, const EnvironmentValues& env) override;
    QWidget* widget() const override;
    QSizeF sizeThatFits(const Proposal& p) override;
    void place(const QRectF& r) override;

  private:
    std::optional<std::type_index> type_;
    std::shared_ptr<NSView> view_;
};

}  // namespace
}  // namespace corvane::platform::ui

// The platform view's widget is reached through its backend object.
#include "platform/qt/ViewImpl.h"

namespace corvane::platform::ui {
namespace {

RepresentableBox::~RepresentableBox() {
    if (view_ && view_->impl().widget)
        view_->impl().widget->setParent(nullptr);
}
void RepresentableBox::update(const View& view, const EnvironmentValues& env) {
    if (!view_) {
        const auto& element = *view.as<RepresentableElement>();
        type_ = element.representable->type();
        view_ = element.representable->makeNSView();
        if (view_ && view_->impl().widget) {
            view_->impl().widget->setParent(container_);
            view_->impl().widget->show();
        }
    }
    if (view_ && view_->impl().widget)
        view_->impl().widget->setEnabled(env.isEnabled);
}
QWidget* RepresentableBox::widget() const {
    return view_ ? view_->impl().widget.data() : nullptr;
}
QSizeF RepresentableBox::sizeThatFits(const Proposal&) {
    if (!view_)
        return {0, 0};
    CGSize s = view_->intrinsicContentSize();
    return {s.width, s.height};
}
void RepresentableBox::place(const QRectF& r) {
    if (QWidget* w = widget())
        w->setGeometry(pixelRect(r));
}

std::unique_ptr<ElementBox> makeElementBox(Host& host, QWidget* container, const Element& element,
                                           std::optional<Axis> axis) {
    return std::visit(
        [&](const auto& e) -> std::unique_ptr<ElementBox> {
            using E = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<E, EmptyElement>)
                return std::make_unique<EmptyBox>(host, container);
            if constexpr (std::is_same_v<E, StackElement>) {
                auto box = std::make_unique<StackBox>(host, container);
                box->setAxis(e.axis);
                return box;
            }
            if constexpr (std::is_same_v<E, SpacerElement>)
                return std::make_unique<SpacerBox>(host, container, axis);
            if constexpr (std::is_same_v<E, DividerElement>)
                return std::make_unique<DividerBox>(host, container, axis);
            if constexpr (std::is_same_v<E, TextElement>)
                return std::make_unique<TextBox>(host, container);
            if constexpr (std::is_same_v<E, ImageElement>)
                return std::make_unique<ImageBox>(host, container);
            if constexpr (std::is_same_v<E, ToggleElement>)
                return std::make_unique<ToggleBox>(host, container);
            if constexpr (std::is_same_v<E, SliderElement>)
                return std::make_unique<SliderBox>(host, container);
            if constexpr (std::is_same_v<E, ButtonElement>)
                return std::make_unique<ButtonBox>(host, container);
            if constexpr (std::is_same_v<E, ListElement>)
                return std::make_unique<ListBox>(host, container);
            if constexpr (std::is_same_v<E, GroupBoxElement>)
                return std::make_unique<GroupBoxBox>(host, container);
            if constexpr (std::is_same_v<E, ComponentElement>) {
                auto box = std::make_unique<ComponentBox>(host, container);
                box->setAxis(axis);
                return box;
            }
            if constexpr (std::is_same_v<E, RepresentableElement>) {
                return std::make_unique<RepresentableBox>(host, container);
            }
        },
        element);
}

const char* kindName(const Element& element) {
    static const char* names[] = {"empty",    "stack",     "spacer", "divider", "text",
                                  "image",    "toggle",    "slider", "button",  "list",
                                  "groupBox", "component", "native"};
    return names[element.index()];
}

std::string signatureOf(const View& view, const std::vector<LayerSpec>& specs) {
    std::string s;
    for (const auto& spec : specs)
        s.push_back(spec.kind);
    s += ':';
    s += std::to_string(view.element().index());
    return s;
}

}  // namespace

// ---- Presentations. ----

struct NodeBox::Impl::Presentation {
    bool sheet = false;
    Binding<bool> isPresented;
    std::optional<Edge> arrowEdge;
    std::function<void()> onDismiss;
    std::function<View()> content;
    QPointer<qt::PresentationWindow> window;
    std::shared_ptr<NSHostingView> hosting;

    ~Presentation() { dismiss(nullptr, false); }

    void sync(Host& host, NodeBox& anchor) {
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
    void show(Host& host, NodeBox& anchor) {
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
    void fit(NodeBox& anchor) {
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
        const QRectF frame = anchor.frameInHost();
        (void)frame;
        QRect anchorRect = pixelRect(anchor.impl().placed);
        QPoint global = container->mapToGlobal(anchorRect.topLeft());
        if (sheet) {
            QWidget* top = container->window();
            QPoint origin = top->mapToGlobal(QPoint(0, 0));
            window->move(origin.x() + (top->width() - pixels.width()) / 2, origin.y() + 28);
        } else {
            window->move(global.x() + anchorRect.width() / 2 - pixels.width() / 2,
                         global.y() + anchorRect.height() + 6);
        }
    }
    void dismiss(Host* host, bool notify) {
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
};

// ---- NodeBox. ----

NodeBox::NodeBox(Host& host, QWidget* container, std::optional<Axis> axis)
    : impl_(std::make_unique<Impl>(host, container, axis)) {}

NodeBox::~NodeBox() {
    for (auto& p : impl_->presentations)
        p->dismiss(&impl_->host, false);
    impl_->presentations.clear();
    impl_->element.reset();
    impl_->layers.clear();
}

std::shared_ptr<NodeBox> NodeBox::mount(Host& host, QWidget* container, const View& view,
                                        const EnvironmentValues& env, std::optional<Axis> axis) {
    auto node = std::make_shared<NodeBox>(host, container, axis);
    Impl& impl = *node->impl_;
    const auto specs = layerSpecs(view);
    impl.signature = signatureOf(view, specs);
    QWidget* current = container;
    for (const auto& spec : specs) {
        impl.layers.push_back(makeLayer(spec.kind, current));
        if (QWidget* w = impl.layers.back()->widget())
            current = w;
    }
    impl.element = makeElementBox(host, current, view.element(), axis);
    for (std::size_t i = 0; i < impl.layers.size(); ++i) {
        impl.layers[i]->setInner(i + 1 < impl.layers.size()
                                     ? static_cast<Box*>(impl.layers[i + 1].get())
                                     : static_cast<Box*>(impl.element.get()));
    }
    // First show: change observers remember the value; only the newer form with `initial`
    // runs its action.
    std::vector<std::function<void()>> initialRuns;
    for (const Modifier& m : view.modifiers()) {
        if (const auto* change = std::get_if<OnChangeModifier>(&m)) {
            impl.seen.push_back(change->value);
            if (change->passesOldValue && change->initial) {
                initialRuns.push_back(
                    [change = *change] { change.action(change.value, change.value); });
            }
        }
    }
    node->apply(view, env);
    for (auto& run : initialRuns)
        run();
    return node;
}

bool NodeBox::update(const View& view, const EnvironmentValues& env) {
    Impl& impl = *impl_;
    const auto specs = layerSpecs(view);
    if (signatureOf(view, specs) != impl.signature || !impl.element->accepts(view.element()))
        return false;
    std::vector<std::function<void()>> changes;
    std::size_t index = 0;
    for (const Modifier& m : view.modifiers()) {
        if (const auto* change = std::get_if<OnChangeModifier>(&m)) {
            if (index >= impl.seen.size())
                impl.seen.push_back(change->value);
            if (!(impl.seen[index] == change->value)) {
                AnyEquatable old = impl.seen[index];
                impl.seen[index] = change->value;
                changes.push_back([change = *change, old] { change.action(old, change.value); });
            }
            ++index;
        }
    }
    apply(view, env);
    for (auto& run : changes)
        run();
    return true;
}

void NodeBox::apply(const View& view, const EnvironmentValues& outer) {
    Impl& impl = *impl_;
    const auto specs = layerSpecs(view);
    impl.view = view;
    impl.env = environmentFor(view, outer);
    impl.cache.clear();
    for (std::size_t i = 0; i < specs.size(); ++i)
        impl.layers[i]->configure(specs[i], impl.env);
    impl.element->update(view, impl.env);

    // Presentations follow their bindings.
    std::vector<const Modifier*> wanted;
    for (const Modifier& m : view.modifiers()) {
        if (std::holds_alternative<PopoverModifier>(m) ||
            std::holds_alternative<SheetModifier>(m)) {
            wanted.push_back(&m);
        }
    }
    if (wanted.size() != impl.presentations.size()) {
        impl.presentations.clear();
        for (std::size_t i = 0; i < wanted.size(); ++i)
            impl.presentations.push_back(std::make_unique<Impl::Presentation>());
    }
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        auto& p = *impl.presentations[i];
        if (const auto* pop = std::get_if<PopoverModifier>(wanted[i])) {
            p.sheet = false;
            p.isPresented = pop->isPresented;
            p.arrowEdge = pop->arrowEdge;
            p.content = pop->content;
        } else {
            const auto& sheet = std::get<SheetModifier>(*wanted[i]);
            p.sheet = true;
            p.isPresented = sheet.isPresented;
            p.onDismiss = sheet.onDismiss;
            p.content = sheet.content;
        }
    }
}

void NodeBox::syncPresentations() {
    for (auto& p : impl_->presentations)
        p->sync(impl_->host, *this);
    std::vector<std::shared_ptr<NodeBox>> children;
    impl_->element->collectChildren(children);
    for (auto& child : children) {
        if (child)
            child->syncPresentations();
    }
}

QSizeF NodeBox::sizeThatFits(const Proposal& proposal) {
    Impl& impl = *impl_;
    if (impl.cacheGeneration != impl.host.generation()) {
        impl.cache.clear();
        impl.cacheGeneration = impl.host.generation();
    }
    for (const auto& [p, s] : impl.cache) {
        if (p == proposal)
            return s;
    }
    QSizeF size = impl.outer().sizeThatFits(proposal);
    impl.cache.emplace_back(proposal, size);
    return size;
}

void NodeBox::place(const QRectF& rect) {
    impl_->placed = rect;
    impl_->outer().place(rect);
}

std::string NodeBox::identity() const {
    if (const auto* id = impl_->view.modifier<IdModifier>())
        return id->id;
    if (const auto* tag = impl_->view.modifier<TagModifier>())
        return tag->tag;
    return {};
}

bool NodeBox::isEmpty() const {
    return impl_->layers.empty() && impl_->element->isEmpty();
}
bool NodeBox::isSpacer() const {
    return impl_->layers.empty() && impl_->element->isSpacer();
}
QWidget* NodeBox::container() const {
    return impl_->container;
}
QRectF NodeBox::placedRect() const {
    return impl_->placed;
}
const View& NodeBox::view() const {
    return impl_->view;
}

QRectF NodeBox::frameInHost() const {
    QWidget* container = impl_->container;
    QWidget* root = impl_->host.widget();
    if (container == nullptr || root == nullptr)
        return impl_->placed;
    QPoint offset = container == root ? QPoint(0, 0) : container->mapTo(root, QPoint(0, 0));
    return impl_->placed.translated(offset);
}

QWidget* NodeBox::hitWidget() const {
    for (const auto& layer : impl_->layers) {
        if (QWidget* w = layer->widget())
            return w;
    }
    if (QWidget* w = impl_->element->widget())
        return w;
    return impl_->container;
}

ElementInfo NodeBox::describe() const {
    ElementInfo info;
    const Impl& impl = *impl_;
    info.kind = kindName(impl.view.element());
    if (impl.element->isSpacer())
        info.kind = "spacer";
    const QRectF f = frameInHost();
    info.frame = CGRectMake(f.x(), f.y(), f.width(), f.height());
    info.enabled = impl.env.isEnabled;
    QWidget* w = hitWidget();
    info.visible = w == nullptr || w->isVisible() || !w->window()->isVisible();
    info.font = impl.env.font;
    if (impl.env.fontWeight)
        info.font.weight = *impl.env.fontWeight;
    info.foreground = impl.env.foreground;
    info.toggleStyle = impl.env.toggleStyle;
    info.scale = impl.env.scale;
    info.selected = impl.rowSelected;
    if (const auto* tag = impl.view.modifier<TagModifier>())
        info.tag = tag->tag;
    for (const auto& layer : impl.layers) {
        if (!layer->toolTip().empty())
            info.toolTip = layer->toolTip();
    }
    impl.element->describe(info);
    return info;
}

void NodeBox::collect(std::vector<std::shared_ptr<NodeBox>>& into) {
    into.push_back(shared_from_this());
    std::vector<std::shared_ptr<NodeBox>> children;
    impl_->element->collectChildren(children);
    for (auto& child : children) {
        if (child)
            child->collect(into);
    }
}

bool NodeBox::performKeyEquivalent(const NSEvent& event) {
    if (impl_->element->performKeyEquivalent(event))
        return true;
    std::vector<std::shared_ptr<NodeBox>> children;
    impl_->element->collectChildren(children);
    for (auto& child : children) {
        if (child && child->performKeyEquivalent(event))
            return true;
    }
    return false;
}

// ---- Host. ----

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
