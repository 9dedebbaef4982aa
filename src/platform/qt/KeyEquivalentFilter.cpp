#include "platform/qt/KeyEquivalentFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <string>

#include "platform/appkit/Event.h"
#include "platform/appkit/NSWindow.h"
#include "platform/qt/WindowWidget.h"

namespace corvane::platform::qt {

namespace {

NSEvent keyEventFrom(const QKeyEvent& key) {
    NSEvent event;
    event.type = NSEventType::keyDown;
    const auto mods = key.modifiers();
    if (mods & Qt::ShiftModifier)
        event.modifierFlags |= NSEventModifierFlagShift;
    if (mods & Qt::ControlModifier)
        event.modifierFlags |= NSEventModifierFlagCommand;
    if (mods & Qt::MetaModifier)
        event.modifierFlags |= NSEventModifierFlagControl;
    if (mods & Qt::AltModifier)
        event.modifierFlags |= NSEventModifierFlagOption;
    const int code = key.key();
    if (code >= Qt::Key_A && code <= Qt::Key_Z) {
        char c = static_cast<char>('a' + (code - Qt::Key_A));
        if (mods & Qt::ShiftModifier)
            c = static_cast<char>(c - 'a' + 'A');
        event.charactersIgnoringModifiers = std::string(1, c);
        event.characters = event.charactersIgnoringModifiers;
    } else if (code == Qt::Key_Return || code == Qt::Key_Enter) {
        event.charactersIgnoringModifiers = "\r";
        event.characters = "\r";
        event.keyCode = 36;
    } else if (code == Qt::Key_Escape) {
        event.charactersIgnoringModifiers = "\x1b";
        event.characters = "\x1b";
    } else if (!key.text().isEmpty()) {
        event.characters = key.text().toStdString();
        event.charactersIgnoringModifiers = event.characters;
    }
    return event;
}

}  // namespace

bool KeyEquivalentFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr)
        return false;
    QWidget* top = widget->window();
    auto* window = dynamic_cast<WindowWidget*>(top);
    // A sheet or a popover offers its keys to the window that presents it.
    if (window == nullptr && top->parentWidget() != nullptr)
        window = dynamic_cast<WindowWidget*>(top->parentWidget()->window());
    // Only the window itself takes the event, not each widget it passes through.
    if (window == nullptr || (widget != QApplication::focusWidget() && widget != top))
        return false;
    return window->owner().performKeyEquivalent(keyEventFrom(*static_cast<QKeyEvent*>(event)));
}

}  // namespace corvane::platform::qt
