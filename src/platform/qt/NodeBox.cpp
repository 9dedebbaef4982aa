#include "platform/qt/NodeBox.h"

#include <type_traits>

#include "platform/foundation/LocalizedStrings.h"
#include "platform/qt/Host.h"
#include "platform/qt/NodeBoxImpl.h"

namespace corvane::platform::ui {

namespace {

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
    // Only a widget of this node's own carries its label (a stack has none).
    if (QWidget* w = hitWidget(); w != nullptr && w != impl.container.data()) {
        const auto* label = view.modifier<AccessibilityLabelModifier>();
        w->setAccessibleName(
            label ? QString::fromStdString(LocalizedStrings::main().localizedString(label->label))
                  : QString());
    }

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
            impl.presentations.push_back(std::make_unique<Presentation>());
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
        if (!info.background)
            info.background = layer->background();
    }
    impl.element->describe(info);
    if (const auto* label = impl.view.modifier<AccessibilityLabelModifier>())
        info.accessibilityLabel = LocalizedStrings::main().localizedString(label->label);
    return info;
}

void NodeBox::collect(std::vector<std::shared_ptr<NodeBox>>& into) {
    into.push_back(shared_from_this());
    impl_->element->realizeChildren();
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

}  // namespace corvane::platform::ui
