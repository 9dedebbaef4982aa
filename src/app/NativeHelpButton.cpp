#include "app/NativeHelpButton.h"

namespace corvane {

using namespace platform;

bool NativeHelpButton::Coordinator::performSelector(std::string_view selector) {
    if (selector != "onAction")
        return false;
    onAction();
    return true;
}

void NativeHelpButton::Coordinator::onAction() const {
    if (action)
        action();
}

std::shared_ptr<NativeHelpButton::Coordinator> NativeHelpButton::makeCoordinator() const {
    return std::make_shared<Coordinator>(action);
}

std::shared_ptr<NSView> NativeHelpButton::makeNSView(
    ui::RepresentableContext<Coordinator>& context) const {
    auto button = std::make_shared<NSButton>();
    button->setTitle("");
    button->setBezelStyle(NSBezelStyle::helpButton);
    button->setButtonType(NSButtonType::momentaryPushIn);
    button->setTarget(&context.coordinator);
    button->setAction("onAction");
    return button;
}

}  // namespace corvane
