#include "platform/qt/TrayStatusBar.h"

#include <QCursor>
#include <QMenu>
#include <QPalette>
#include <QSystemTrayIcon>

#include "platform/appkit/ImageBackend.h"
#include "platform/qt/MenuRendering.h"
#include "platform/qt/QtImages.h"
#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

/// One item's icon in the tray and the Qt form of its menu.
struct TrayStatusBar::Tray {
    std::weak_ptr<NSStatusItem> item;
    std::unique_ptr<QMenu> menu = std::make_unique<QMenu>();
    std::unique_ptr<QSystemTrayIcon> icon = std::make_unique<QSystemTrayIcon>();
};

TrayStatusBar::TrayStatusBar() {
    ensureQtApplication();
}

TrayStatusBar::~TrayStatusBar() = default;

void TrayStatusBar::itemAdded(const std::shared_ptr<NSStatusItem>& item) {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    auto tray = std::make_unique<Tray>();
    tray->item = item;
    Tray* raw = tray.get();
    // The system brings a menu up to date before it shows it.
    QObject::connect(raw->menu.get(), &QMenu::aboutToShow, [raw] {
        auto kept = raw->item.lock();
        if (!kept || !kept->menu())
            return;
        kept->menu()->prepareToOpen();
        fillQMenu(*raw->menu, *kept->menu());
    });
    raw->icon->setContextMenu(raw->menu.get());
    // A plain click opens the menu too, as a menu-bar item does.
    QObject::connect(raw->icon.get(), &QSystemTrayIcon::activated,
                     [raw](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::Trigger)
                             raw->menu->popup(QCursor::pos());
                     });
    trays_.emplace(item.get(), std::move(tray));
    itemChanged(*item);
}

void TrayStatusBar::itemChanged(NSStatusItem& item) {
    auto it = trays_.find(&item);
    if (it == trays_.end())
        return;
    QSystemTrayIcon& icon = *it->second->icon;
    const NSStatusBarButton* button = item.button();
    if (button && button->image()) {
        const QColor color = QPalette().color(QPalette::WindowText);
        icon.setIcon(iconFor(*button->image(), color));
        icon.setToolTip(
            QString::fromStdString(button->image()->accessibilityDescription().value_or("")));
    }
    icon.setVisible(item.isVisible());
}

void TrayStatusBar::itemRemoved(NSStatusItem& item) {
    trays_.erase(&item);
}

void installTrayStatusBar() {
    installImageBackend(std::make_shared<QtImages>());
    installStatusBarBackend(std::make_shared<TrayStatusBar>());
}

}  // namespace corvane::platform::qt
