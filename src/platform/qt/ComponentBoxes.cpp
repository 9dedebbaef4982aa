// The boxes of view types with a body of their own and of wrapped platform views.
#include <typeindex>

#include "platform/appkit/NSButton.h"
#include "platform/qt/ElementBox.h"
#include "platform/qt/Host.h"
#include "platform/qt/LayoutGeometry.h"
#include "platform/qt/ViewImpl.h"

namespace corvane::platform::ui {

using namespace geometry;

namespace {

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
    void describe(ElementInfo& info) const override;
    /// The wrapped view is a subview of the hosting view: it is offered key equivalents too.
    bool performKeyEquivalent(const NSEvent& event) override {
        return view_ && view_->performKeyEquivalent(event);
    }

  private:
    std::optional<std::type_index> type_;
    std::shared_ptr<NSView> view_;
    std::shared_ptr<void> coordinator_;  ///< the target of the view's actions
};

RepresentableBox::~RepresentableBox() {
    if (view_ && view_->impl().widget)
        view_->impl().widget->setParent(nullptr);
    view_.reset();  // before the coordinator it may send actions to
}
void RepresentableBox::update(const View& view, const EnvironmentValues& env) {
    if (!view_) {
        const auto& element = *view.as<RepresentableElement>();
        type_ = element.representable->type();
        auto made = element.representable->makeNSView(env);
        view_ = std::move(made.view);
        coordinator_ = std::move(made.coordinator);
        if (view_ && view_->impl().widget) {
            view_->impl().widget->setParent(container_);
            view_->impl().widget->show();
        }
    }
    if (view_ && view_->impl().widget)
        view_->impl().widget->setEnabled(env.isEnabled);
}
void RepresentableBox::describe(ElementInfo& info) const {
    if (!view_)
        return;
    // A platform button is read as the button it is, by its title and accessibility label.
    if (const auto* button = dynamic_cast<const NSButton*>(view_.get())) {
        info.kind = "button";
        info.label = button->title();
    }
    info.accessibilityLabel = view_->accessibilityLabel();
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

}  // namespace

std::unique_ptr<ElementBox> makeComponentBox(Host& host, QWidget* container,
                                             std::optional<Axis> axis) {
    auto box = std::make_unique<ComponentBox>(host, container);
    box->setAxis(axis);
    return box;
}
std::unique_ptr<ElementBox> makeRepresentableBox(Host& host, QWidget* container) {
    return std::make_unique<RepresentableBox>(host, container);
}

}  // namespace corvane::platform::ui
