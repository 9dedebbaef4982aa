// The push button's box: a bezel around a label tree (or a custom style's body), triggered
// by a click or by its keyboard shortcut.
#include <algorithm>
#include <cctype>

#include "platform/foundation/LocalizedStrings.h"
#include "platform/qt/ElementBox.h"
#include "platform/qt/Host.h"
#include "platform/qt/LayoutGeometry.h"
#include "platform/qt/Widgets.h"

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

}  // namespace

std::unique_ptr<ElementBox> makeButtonBox(Host& host, QWidget* container) {
    return std::make_unique<ButtonBox>(host, container);
}

}  // namespace corvane::platform::ui
