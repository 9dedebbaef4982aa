// The boxes of the value controls: toggles (switches and checkboxes) and sliders.
#include <QCheckBox>
#include <QIcon>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "platform/foundation/LocalizedStrings.h"
#include "platform/qt/Artwork.h"
#include "platform/qt/ElementBox.h"
#include "platform/qt/Host.h"
#include "platform/qt/LayoutGeometry.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/Widgets.h"

namespace corvane::platform::ui {

using namespace geometry;

namespace {

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
            // The symbol stands before the title, in the title's font and colour.
            const QPixmap symbol =
                showsLabel() && toggle_.systemImage
                    ? qt::systemSymbolPixmap(*toggle_.systemImage, qt::environmentFont(env),
                                             qt::foregroundColor(env))
                    : QPixmap();
            checkbox_->setIcon(QIcon(symbol));
            checkbox_->setIconSize(symbol.size());
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

std::unique_ptr<ElementBox> makeToggleBox(Host& host, QWidget* container) {
    return std::make_unique<ToggleBox>(host, container);
}
std::unique_ptr<ElementBox> makeSliderBox(Host& host, QWidget* container) {
    return std::make_unique<SliderBox>(host, container);
}

}  // namespace corvane::platform::ui
