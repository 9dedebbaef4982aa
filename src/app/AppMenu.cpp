#include "app/AppMenu.h"

#include <algorithm>
#include <utility>

#include "app/AboutView.h"
#include "app/ActiveApp.h"
#include "app/UpdaterManager.h"
#include "app/WindowManager.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/NSWindow.h"
#include "preferences/PreferencesTabViewController.h"
#include "scroll/ScrollCoordinator.h"
#include "settings/SettingsManager.h"

namespace corvane {

using namespace platform;

namespace {

constexpr NSWindowStyleMask kTitledAndClosable =
    NSWindowStyleMaskTitled | NSWindowStyleMaskClosable;
constexpr CGSize kItemImageSize{16, 16};  // points

/// The actions the menu's items send, by selector name.
constexpr std::pair<std::string_view, void (AppMenu::*)()> kActions[] = {
    {"showAboutWindow", &AppMenu::showAboutWindow},
    {"showPreferencesWindow", &AppMenu::showPreferencesWindow},
    {"toggleDisableForAllApps", &AppMenu::toggleDisableForAllApps},
    {"toggleDisableForCurrentApp", &AppMenu::toggleDisableForCurrentApp},
    {"checkForUpdates", &AppMenu::checkForUpdates},
    {"quit", &AppMenu::quit},
};

void (AppMenu::*actionFor(std::string_view selector))() {
    auto it = std::find_if(std::begin(kActions), std::end(kActions),
                           [&](const auto& entry) { return entry.first == selector; });
    return it == std::end(kActions) ? nullptr : it->second;
}

/// The first exception of `app`'s bundle identifier; none without an application or
/// identifier.
ExceptionalApplicationRef exceptionFor(const RunningApplicationRef& app) {
    if (!app || !app->bundleIdentifier())
        return nullptr;
    for (const auto& exception :
         SettingsManager::shared().settings().appSettings.exceptionalApplication) {
        if (exception->bundleId() == *app->bundleIdentifier())
            return exception;
    }
    return nullptr;
}

}  // namespace

AppMenu::AppMenu() : menu(std::make_shared<NSMenu>()) {}

std::shared_ptr<NSMenu> AppMenu::setupMenu() {
    menu->setDelegate(this);
    aboutItem = addItem("About Corvane", "showAboutWindow", "", "about", "info.circle", this);
    menu->addItem(NSMenuItem::separatorItem());
    preferencesItem =
        addItem("Settings...", "showPreferencesWindow", ",", "preferences", "gear", this);
    menu->addItem(NSMenuItem::separatorItem());
    enableSmoothItem = addItem("Enable Smooth", "toggleDisableForAllApps", "", "disableForAllApps",
                               std::nullopt, this);
    // The per-application item names the application the user was working in: tracking
    // starts here, at start-up.
    ActiveApp::shared();
    disableForAppItem = addItem("Disable for current app", "toggleDisableForCurrentApp", "",
                                "disableForCurrentApp", std::nullopt, this);
    // Update checks are reached from the settings window; the menu keeps the item hidden.
    // Its action is this menu's until the update controller is there to take it.
    checkForUpdatesItem = addItem("Check for Updates\u2026", "checkForUpdates", "",
                                  "checkForUpdates", std::nullopt, this);
    checkForUpdatesItem->setHidden(true);
    menu->addItem(NSMenuItem::separatorItem());
    quitItem = addItem("Quit Corvane", "quit", "q", "quit", "xmark.rectangle", this);
    return menu;
}

std::shared_ptr<NSMenuItem> AppMenu::addItem(const std::string& title, const Selector& action,
                                             const std::string& keyEquivalent,
                                             const std::string& identifier,
                                             std::optional<std::string> imageName,
                                             NSObject* target) {
    auto item = menu->addItem(title, action, keyEquivalent);
    item->setTarget(target);
    item->setRepresentedObject({});
    item->setIdentifier(identifier);
    item->setState(NSControlStateValueOff);
    if (imageName) {
        auto image = NSImage::imageWithSystemSymbolName(*imageName, std::nullopt);
        if (!image)
            image = NSImage::imageNamed(*imageName);
        if (image) {
            image->setTemplate(true);
            image->setSize(kItemImageSize);
            item->setImage(std::move(image));
        }
    }
    return item;
}

void AppMenu::menuNeedsUpdate(NSMenu&) {
    updateToggleItems();
    updateDisableForAppItem();
}

void AppMenu::updateToggleItems() {
    enableSmoothItem->setAction("toggleDisableForAllApps");
    disableForAppItem->setAction("toggleDisableForCurrentApp");
    enableSmoothItem->setState(SettingsManager::shared().settings().scrollBase.smooth
                                   ? NSControlStateValueOn
                                   : NSControlStateValueOff);
}

void AppMenu::updateDisableForAppItem() {
    const auto app = ActiveApp::shared().relevantApplication();
    std::string name = "Unknown App";
    if (app && app->localizedName()) {
        name = *app->localizedName();
    } else if (app && app->bundleIdentifier()) {
        name = *app->bundleIdentifier();
    }
    disableForAppItem->setTitle("Disable for " + name);
    const auto exception = exceptionFor(app);
    disableForAppItem->setState(exception && !exception->scrollBase().smooth
                                    ? NSControlStateValueOn
                                    : NSControlStateValueOff);
}

void AppMenu::showAboutWindow() {
    WindowManager::shared().openWindow("about", "", AboutView{}, NSNormalWindowLevel,
                                       kTitledAndClosable);
}

void AppMenu::showPreferencesWindow() {
    WindowManager::shared().openWindow("preferences", "Corvane Settings",
                                       std::make_shared<PreferencesTabViewController>(),
                                       NSNormalWindowLevel, kTitledAndClosable);
}

void AppMenu::toggleDisableForAllApps() {
    auto& store = SettingsManager::shared();
    store.modifySettings([](CorvaneSettings& settings) {
        settings.scrollBase.smooth = !settings.scrollBase.smooth;
    });
    store.save();

    const bool smooth = store.settings().scrollBase.smooth;
    if (smooth) {
        ScrollCoordinator::shared().start();
    } else {
        ScrollCoordinator::shared().stop();
    }
    const auto& items = menu->items();
    auto it = std::find_if(items.begin(), items.end(), [](const auto& item) {
        return item->identifier() == "disableForAllApps";
    });
    if (it != items.end())
        (*it)->setState(smooth ? NSControlStateValueOn : NSControlStateValueOff);
}

void AppMenu::toggleDisableForCurrentApp() {
    const auto app = ActiveApp::shared().relevantApplication();
    if (!app || !app->bundleIdentifier())
        return;
    auto& store = SettingsManager::shared();
    if (auto exception = exceptionFor(app)) {
        auto base = exception->scrollBase();
        base.smooth = !base.smooth;
        exception->setScrollBase(base);
        store.save();
        return;
    }
    // Smoothing off for the application; every other value as a new exception has it.
    auto exception = std::make_shared<ExceptionalApplication>(
        *app->bundleIdentifier(),
        ScrollBase{.smooth = false, .horizontalSmooth = true, .reverse = false}, ScrollAdvanced{},
        true);
    store.modifySettings([&](CorvaneSettings& settings) {
        // A new list with the exception at its head, the former entries after it.
        std::vector<ExceptionalApplicationRef> list{exception};
        const auto& former = settings.appSettings.exceptionalApplication;
        list.insert(list.end(), former.begin(), former.end());
        settings.appSettings.exceptionalApplication = std::move(list);
    });
    store.save();
}

void AppMenu::checkForUpdates() {
    // No shown item leads here: the item stays hidden.
    UpdaterManager::shared().updaterController->checkForUpdates(nullptr);
}

void AppMenu::quit() {
    WindowManager::shared().closeAll();
    NSApplication::shared().terminate();
}

bool AppMenu::respondsToSelector(std::string_view selector) const {
    return actionFor(selector) != nullptr;
}

bool AppMenu::performSelector(std::string_view selector) {
    auto action = actionFor(selector);
    if (action == nullptr)
        return false;
    (this->*action)();
    return true;
}

}  // namespace corvane
