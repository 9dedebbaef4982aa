#include "platform/qt/SheetModality.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>

#include "platform/qt/KeyEquivalentFilter.h"
#include "platform/qt/PresentationWindow.h"

namespace corvane::platform::qt {

namespace {

bool showsSheet(const QWidget& window) {
    // A sheet is a child of a widget of the window that presents it (the presenting view's,
    // when the sheet came up before that view was put in a window).
    return std::any_of(PresentationWindow::sheets().begin(), PresentationWindow::sheets().end(),
                       [&window](const PresentationWindow* sheet) {
                           const QWidget* parent = sheet->parentWidget();
                           return sheet->isVisible() && parent != nullptr &&
                                  parent->window() == &window;
                       });
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Enter:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool isBlockedBySheet(const QWidget& widget) {
    // A popover shares the fate of the window that presents it; a sheet is blocked only by a
    // sheet of its own.
    for (const QWidget* window = widget.window(); window != nullptr;) {
        if (showsSheet(*window))
            return true;
        const auto* popover = dynamic_cast<const PresentationWindow*>(window);
        if (popover == nullptr || popover->isSheet() || popover->parentWidget() == nullptr)
            return false;
        window = popover->parentWidget()->window();
    }
    return false;
}

bool SheetModalityFilter::eventFilter(QObject* watched, QEvent* event) {
    if (!isUserInput(event->type()) || !watched->isWidgetType())
        return false;
    return isBlockedBySheet(*static_cast<QWidget*>(watched));
}

void installWindowInputFilters() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // The filter installed last sees an event first.
    qApp->installEventFilter(new KeyEquivalentFilter());
    qApp->installEventFilter(new SheetModalityFilter());
}

}  // namespace corvane::platform::qt
