// The session driver. For now it loads the settings store on the simulated session and
// prints the document the store holds and where the user defaults keep it.
#include <cstdio>
#include <string>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "settings/SettingsDocument.h"
#include "settings/SettingsManager.h"

int main() {
    using namespace corvane;
    const std::string domain =
        platform::Bundle::main().bundleIdentifier().value_or("com.Quillon.Corvane");
    platform::UserDefaults::installStandardStore(std::make_shared<platform::FileDefaultsStore>(
        platform::FileDefaultsStore::defaultPath(domain)));

    SettingsManager& store = SettingsManager::shared();
    auto document = encodeSettings(store.settings());
    std::printf("user defaults: %s\n", platform::UserDefaults::standard().location().c_str());
    std::printf("%s: %s\n", store.key.c_str(), document ? document->c_str() : "(not encodable)");
    return 0;
}
