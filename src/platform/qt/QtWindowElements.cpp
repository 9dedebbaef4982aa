// Reading and driving a window as a user does. The elements come from the node tree the
// host mounted (its order is the reading order) with the states of the real widgets; every
// action is real input to the real widget, so the control's own handling, its bindings and
// whatever they save run as they would for a click, a drag or a key press.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QSlider>
#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSWindow.h"
#include "platform/appkit/WindowElements.h"
#include "platform/qt/ElementBox.h"
#include "platform/qt/Host.h"
#include "platform/qt/NSWindowImpl.h"
#include "platform/qt/NodeBoxImpl.h"
#include "platform/qt/SheetModality.h"
#include "platform/qt/ToolbarItems.h"
#include "platform/qt/ViewImpl.h"
#include "platform/qt/WindowContent.h"

namespace corvane::platform {

namespace {

using ui::ElementHandle;
using ui::ElementInfo;
using ui::NodeBox;

/// An element found on screen, with what acting on it needs.
struct Found {
    WindowElement element;
    std::shared_ptr<NodeBox> node;
    NSHostingView* hosting = nullptr;  ///< the view that shows it
    std::string row{};                 ///< the label of the list row it lies in, if any
    NSWindow* window = nullptr;        ///< tabs: the window whose toolbar shows it
    std::size_t toolbarItem = 0;       ///< tabs: its index among the toolbar's items
};

/// The kinds a user reads; structure (stacks, spacers, groups, components) is left out.
bool isReadKind(const std::string& kind) {
    static const std::set<std::string> kinds = {"text",   "image",  "button",
                                                "toggle", "slider", "list"};
    return kinds.count(kind) > 0;
}

bool isShown(const ElementInfo& info) {
    return info.visible && info.frame.width > 0 && info.frame.height > 0;
}

bool isEnabled(const ElementInfo& info, const NodeBox& node) {
    const QWidget* widget = node.hitWidget();
    return info.enabled && (widget == nullptr || widget->isEnabled());
}

ElementValue valueOf(const ElementInfo& info) {
    if (info.kind == "toggle")
        return info.isOn;
    if (info.kind == "slider")
        return info.value;
    return std::monostate{};
}

/// A row is read by its first text.
std::string rowLabel(NodeBox& row) {
    std::vector<std::shared_ptr<NodeBox>> nodes;
    row.collect(nodes);
    for (const auto& node : nodes) {
        const ElementInfo info = node->describe();
        if (info.kind == "text" && !info.label.empty())
            return info.label;
    }
    return {};
}

/// Reads the elements of one hosting view, then those of the presentations it shows.
void readHosting(NSHostingView& hosting, std::vector<Found>& into) {
    ui::Host& host = hosting.host();
    if (const auto& root = host.rootNode()) {
        std::vector<std::shared_ptr<NodeBox>> nodes;
        root->collect(nodes);
        std::set<const NodeBox*> partOfControl;           // a button's label
        std::map<const NodeBox*, std::size_t> listOfRow;  // row -> its list in `into`
        std::map<const NodeBox*, std::string> rowOf;      // a row's content -> its label
        std::string textBefore;
        for (const auto& node : nodes) {
            if (partOfControl.count(node.get()) > 0)
                continue;
            const ElementInfo info = node->describe();
            if (!isShown(info))
                continue;
            const bool enabled = isEnabled(info, *node);
            const auto inRow = rowOf.find(node.get());
            const std::string enclosingRow = inRow != rowOf.end() ? inRow->second : std::string();
            if (auto list = listOfRow.find(node.get()); list != listOfRow.end()) {
                const std::string label = rowLabel(*node);
                into.push_back({{"row", label, info.selected, enabled, host.presentation()},
                                node,
                                &hosting,
                                enclosingRow});
                if (info.selected)
                    into[list->second].element.value = label;
                std::vector<std::shared_ptr<NodeBox>> content;
                node->collect(content);
                for (const auto& part : content) {
                    if (part != node)
                        rowOf[part.get()] = label;
                }
            }
            // Anything else that takes a click (a strip with a tap gesture) is read as a
            // button, titled by its accessibility label or the text before it.
            const bool tappable = node->view().modifier<ui::OnTapGestureModifier>() != nullptr;
            if (!isReadKind(info.kind) && !tappable)
                continue;
            Found found{{tappable && !isReadKind(info.kind) ? "button" : info.kind, info.label,
                         valueOf(info), enabled, host.presentation()},
                        node,
                        &hosting,
                        enclosingRow};
            // An image that takes a click (a gear) is a button too, titled by its tooltip.
            if (tappable && info.kind == "image") {
                found.element.kind = "button";
                if (!info.toolTip.empty())
                    found.element.label = info.toolTip;
            }
            if (!info.accessibilityLabel.empty())
                found.element.label = info.accessibilityLabel;
            if (info.kind == "button") {
                std::vector<std::shared_ptr<NodeBox>> label;
                node->collect(label);
                for (const auto& part : label)
                    partOfControl.insert(part.get());
            } else if (info.kind == "list") {
                std::vector<std::shared_ptr<NodeBox>> rows;
                node->impl().element->collectChildren(rows);
                for (const auto& row : rows)
                    listOfRow[row.get()] = into.size();
            } else if (info.kind == "text") {
                textBefore = info.label;
            }
            // A control without a text of its own is titled by the text before it.
            if (found.element.label.empty() &&
                (info.kind == "slider" || info.kind == "list" || tappable))
                found.element.label = textBefore;
            into.push_back(std::move(found));
        }
    }
    for (NSHostingView* presented : host.presented())
        readHosting(*presented, into);
}

std::vector<Found> readWindow(NSWindow& window) {
    std::vector<Found> found;
    // The toolbar's buttons come first: a tab view's tabs, selected or not.
    if (const auto& toolbar = window.toolbar()) {
        for (std::size_t i = 0; i < toolbar->items().size(); ++i) {
            const auto& item = toolbar->items()[i];
            Found tab{{"tab",
                       item.label,
                       item.itemIdentifier == toolbar->selectedItemIdentifier(),
                       true,
                       {}},
                      nullptr,
                      nullptr};
            tab.window = &window;
            tab.toolbarItem = i;
            found.push_back(std::move(tab));
        }
    }
    if (NSHostingView* hosting = shownHostingView(window))
        readHosting(*hosting, found);
    return found;
}

/// The window's own top-level widget, or null when it has no content.
QWidget* windowWidget(NSWindow& window) {
    const auto& content = window.contentView();
    return content && content->impl().widget ? content->impl().widget->window() : nullptr;
}

ElementHandle handleOf(const Found& found) {
    auto target = std::make_shared<ElementHandle::Target>();
    target->node = found.node;
    target->presentation = found.element.presentation;
    return ElementHandle(target);
}

void pressButton(const Found& found, const ElementAction&) {
    handleOf(found).click();
}

void toggleSwitch(const Found& found, const ElementAction& action) {
    if (std::get<bool>(found.element.value) != action.on)
        handleOf(found).click();
}

// The knob is held and moved one position at a time to the value's position, as a drag
// passes every step; the view is brought up to date after each, as between two moves of
// the mouse, then the knob is let go.
void slideKnob(const Found& found, const ElementAction& action) {
    const auto* element = found.node->view().as<ui::SliderElement>();
    QWidget* widget = found.node->hitWidget();
    QPointer<QSlider> slider = qobject_cast<QSlider*>(widget);
    if (!slider && widget != nullptr)
        slider = widget->findChild<QSlider*>();
    if (element == nullptr || !slider || !slider->isEnabled() || qt::isBlockedBySheet(*slider))
        return;
    const int target = ui::sliderPosition(*element, action.value);
    slider->setSliderDown(true);
    while (slider && slider->sliderPosition() != target) {
        const int position = slider->sliderPosition();
        slider->setSliderPosition(position + (target > position ? 1 : -1));
        found.hosting->updateNow();
    }
    if (slider)
        slider->setSliderDown(false);
}

// A click on the row itself, beside whatever controls it holds.
void selectRow(const Found& found, const ElementAction&) {
    QWidget* row = found.node->container();
    if (row == nullptr)
        return;
    const QPointF local = found.node->placedRect().topLeft() + QPointF(1, 1);
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, local, row->mapToGlobal(local), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(row, &event);
    }
}

// A click on the tab's toolbar button, in the window's title bar.
void selectTab(const Found& found, const ElementAction&) {
    qt::WindowWidget* widget = found.window->impl().widget;
    const auto& toolbar = found.window->toolbar();
    if (widget == nullptr || !toolbar)
        return;
    const auto rects = qt::toolbarItemRects(*toolbar, widget->width(), widget->titlebarHeight);
    if (found.toolbarItem >= rects.size())
        return;
    const QPointF local = rects[found.toolbarItem].center();
    QPointer<QWidget> receiver = widget;
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, local, widget->mapToGlobal(local), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        if (receiver)
            QApplication::sendEvent(receiver, &event);
    }
}

/// Which kind of element takes which action, and how it is given. A new kind of control
/// adds its row here.
struct ActionRoute {
    ElementAction::Kind action;
    const char* kind;
    void (*perform)(const Found&, const ElementAction&);
};
constexpr ActionRoute kRoutes[] = {
    {ElementAction::Kind::press, "button", &pressButton},
    {ElementAction::Kind::toggle, "toggle", &toggleSwitch},
    {ElementAction::Kind::slide, "slider", &slideKnob},
    {ElementAction::Kind::select, "row", &selectRow},
    {ElementAction::Kind::select, "tab", &selectTab},
};

const ActionRoute* routeFor(ElementAction::Kind action, const std::string& kind) {
    for (const auto& route : kRoutes) {
        if (route.action == action && kind == route.kind)
            return &route;
    }
    return nullptr;
}

/// Qt's key and text for a key press; Ctrl plays the Command key's part on this desktop.
QKeyEvent qtKeyEvent(QEvent::Type type, const KeyPress& key) {
    Qt::KeyboardModifiers modifiers;
    if (key.modifiers & NSEventModifierFlagCommand)
        modifiers |= Qt::ControlModifier;
    if (key.modifiers & NSEventModifierFlagControl)
        modifiers |= Qt::MetaModifier;
    if (key.modifiers & NSEventModifierFlagOption)
        modifiers |= Qt::AltModifier;
    if (key.modifiers & NSEventModifierFlagShift)
        modifiers |= Qt::ShiftModifier;
    static const std::map<std::string, std::pair<int, const char*>> kNamed = {
        {"return", {Qt::Key_Return, "\r"}},    {"escape", {Qt::Key_Escape, "\x1b"}},
        {"tab", {Qt::Key_Tab, "\t"}},          {"space", {Qt::Key_Space, " "}},
        {"delete", {Qt::Key_Backspace, "\b"}},
    };
    if (auto named = kNamed.find(key.key); named != kNamed.end())
        return QKeyEvent(type, named->second.first, modifiers, named->second.second);
    // Qt names a printable key by its upper-case character.
    const int c = static_cast<unsigned char>(key.key[0]);
    const int typed = (key.modifiers & NSEventModifierFlagShift) ? std::toupper(c) : c;
    return QKeyEvent(type, std::toupper(c), modifiers, QString(QChar(typed)));
}

}  // namespace

WindowContents inspectWindow(NSWindow& window) {
    WindowContents contents;
    contents.title = window.title();
    contents.size = sizeOf(window.frame());
    if (const QWidget* widget = windowWidget(window))
        contents.size = {static_cast<double>(widget->width()),
                         static_cast<double>(widget->height())};
    for (auto& found : readWindow(window))
        contents.elements.push_back(std::move(found.element));
    return contents;
}

ElementActionResult performElementAction(NSWindow& window, const std::string& label,
                                         const ElementAction& action) {
    const std::vector<Found> elements = readWindow(window);
    if (!action.row.empty() && std::none_of(elements.begin(), elements.end(), [&](const Found& f) {
            return f.element.kind == "row" && f.element.label == action.row;
        })) {
        return {ElementActionResult::Outcome::noRow, {}};
    }
    const auto matches = [&](const Found& found) {
        return (label.empty() || found.element.label == label) &&
               (action.row.empty() || found.row == action.row);
    };
    for (const auto& found : elements) {
        if (!matches(found))
            continue;
        if (const ActionRoute* route = routeFor(action.kind, found.element.kind)) {
            route->perform(found, action);
            return {};
        }
    }
    // Whatever its label, nothing took the action: there is no such element.
    for (const auto& found : elements) {
        if (!label.empty() && matches(found))
            return {ElementActionResult::Outcome::notActionable, found.element.kind};
    }
    return {ElementActionResult::Outcome::notFound, {}};
}

void pressKey(NSWindow& window, const KeyPress& key) {
    // A sheet is the key window while it is up, else the newest popover; a popover that the
    // sheet presents is in turn the sheet's.
    QWidget* target = windowWidget(window);
    if (NSHostingView* hosting = shownHostingView(window)) {
        NSHostingView* top = hosting;
        while (!top->host().presented().empty()) {
            const auto& presented = top->host().presented();
            const auto sheet = std::find_if(presented.begin(), presented.end(), [](auto* view) {
                return view->host().presentation() == "sheet";
            });
            top = sheet != presented.end() ? *sheet : presented.back();
        }
        if (top != hosting && top->impl().widget)
            target = top->impl().widget->window();
    }
    if (target == nullptr)
        return;
    QPointer<QWidget> receiver = target;
    for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event = qtKeyEvent(type, key);
        if (receiver)
            QApplication::sendEvent(receiver, &event);
    }
}

}  // namespace corvane::platform
