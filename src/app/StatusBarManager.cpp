#include "app/StatusBarManager.h"

#include "app/WindowManager.h"
#include "settings/Logger.h"
#include "settings/SettingsManager.h"

namespace corvane {

using namespace platform;

StatusBarManager& StatusBarManager::shared() {
    static auto* manager = new StatusBarManager();
    return *manager;
}

StatusBarManager::StatusBarManager()
    : statusItem(NSStatusBar::systemStatusBar().statusItemWithLength(NSVariableStatusItemLength)) {
    logModuleInitialized("StatusBarManager");
    setupStatusItem();
    windowStateObserver_ = NotificationCenter::defaultCenter().addObserver(
        kWindowStateChangedNotification, [this](const Notification&) { windowStateChanged(); });
    statusItem->setVisible(SettingsManager::shared().settings().appSettings.showMenuIcon);
}

StatusBarManager::~StatusBarManager() {
    if (windowStateObserver_)
        NotificationCenter::defaultCenter().removeObserver(*windowStateObserver_);
}

void StatusBarManager::setupStatusItem() {
    if (auto* button = statusItem->button())
        button->setImage(NSImage::imageWithSystemSymbolName("computermouse.fill", "Corvane"));
    statusItem->setMenu(menu.setupMenu());
}

void StatusBarManager::windowStateChanged() {
    statusItem->setVisible(SettingsManager::shared().settings().appSettings.showMenuIcon);
}

}  // namespace corvane
