#include "settings/SettingsManager.h"

#include "platform/foundation/UserDefaults.h"
#include "settings/Logger.h"
#include "settings/SettingsDocument.h"

namespace corvane {

namespace {

// Creation logs first, then reads the stored document.
CorvaneSettings announceAndLoad(const std::string& key) {
    logModuleInitialized("SettingsManager");
    auto data = platform::UserDefaults::standard().data(key);
    if (!data)
        return CorvaneSettings{};
    std::string_view document(reinterpret_cast<const char*>(data->data()), data->size());
    // A document that does not decode is dropped silently and left in place until the
    // first change replaces it.
    return decodeSettings(document).value_or(CorvaneSettings{});
}

}  // namespace

SettingsManager& SettingsManager::shared() {
    static auto* manager = new SettingsManager();
    return *manager;
}

SettingsManager::SettingsManager() : settings_(*this, announceAndLoad(key)) {}

void SettingsManager::setSettings(CorvaneSettings settings) {
    CORVANE_ASSERT_MAIN_THREAD();
    settings_.set(std::move(settings));
    ++generation_;
    save();
}

void SettingsManager::setAppSettings(AppSettings appSettings) {
    modifySettings([&](CorvaneSettings& s) { s.appSettings = std::move(appSettings); });
}

void SettingsManager::setScrollBase(ScrollBase scrollBase) {
    modifySettings([&](CorvaneSettings& s) { s.scrollBase = scrollBase; });
}

void SettingsManager::setScrollAdvanced(ScrollAdvanced scrollAdvanced) {
    modifySettings([&](CorvaneSettings& s) { s.scrollAdvanced = std::move(scrollAdvanced); });
}

void SettingsManager::save() {
    CORVANE_ASSERT_MAIN_THREAD();
    auto document = encodeSettings(settings());
    if (!document)
        return;
    platform::UserDefaults::standard().set(key, platform::Data(document->begin(), document->end()));
}

}  // namespace corvane
