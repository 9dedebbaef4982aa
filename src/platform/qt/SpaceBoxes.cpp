// The boxes that take or mark space: the empty view, spacers and dividers.
#include <algorithm>

#include "platform/qt/ElementBox.h"
#include "platform/qt/LayoutGeometry.h"
#include "platform/qt/Widgets.h"

namespace corvane::platform::ui {

using namespace geometry;

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

}  // namespace

std::unique_ptr<ElementBox> makeEmptyBox(Host& host, QWidget* container) {
    return std::make_unique<EmptyBox>(host, container);
}
std::unique_ptr<ElementBox> makeSpacerBox(Host& host, QWidget* container,
                                          std::optional<Axis> axis) {
    return std::make_unique<SpacerBox>(host, container, axis);
}
std::unique_ptr<ElementBox> makeDividerBox(Host& host, QWidget* container,
                                           std::optional<Axis> axis) {
    return std::make_unique<DividerBox>(host, container, axis);
}

}  // namespace corvane::platform::ui
