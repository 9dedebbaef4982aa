#include "platform/live/LiveSession.h"

#include "platform/corefoundation/MachPortBackend.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/live/FileDefaultsStore.h"
#include "platform/live/LiveAccessibility.h"
#include "platform/live/LiveDesktop.h"
#include "platform/live/LiveDisplays.h"
#include "platform/live/LiveEventStream.h"
#include "platform/live/LiveTasks.h"
#include "platform/live/LiveUpdates.h"
#include "platform/live/LiveWorkspace.h"
#include "platform/live/XdgAutostart.h"
#include "platform/log/OSLog.h"

namespace corvane::platform::live {

std::shared_ptr<ThreadRuntime> installLiveSession() {
    auto runtime = std::make_shared<ThreadRuntime>();
    installRuntime(runtime);
    auto displays = std::make_shared<LiveDisplays>();
    installDisplayBackend(displays);
    installDisplayLinkBackend(displays);
    auto events = std::make_shared<LiveEventStream>();
    installEventBackend(events);
    installMachPortBackend(events);
    auto workspace = std::make_shared<LiveWorkspace>();
    installWorkspaceBackend(workspace);
    installBundleBackend(workspace);
    installProcessBackend(workspace);
    installDesktopBackend(std::make_shared<LiveDesktop>());
    installAccessibilityBackend(std::make_shared<LiveAccessibility>());
    installTaskBackend(std::make_shared<LiveTasks>());
    installAppleScriptBackend(std::make_shared<LiveAppleScript>());
    installUpdateBackend(std::make_shared<LiveUpdates>());

    // The defaults domain and the autostart entry are named by the application's identifier,
    // as the main bundle states it.
    const std::string domain = Bundle::main().infoString("CFBundleIdentifier").value_or("corvane");
    installLoginItemBackend(std::make_shared<XdgAutostart>(
        XdgAutostart::defaultFolder(), XdgAutostart::currentProgram(), domain,
        Bundle::main().infoString("CFBundleName").value_or("Corvane")));
    UserDefaults::installStandardStore(
        std::make_shared<FileDefaultsStore>(FileDefaultsStore::defaultPath(domain)));
    LogStore::shared().setEchoToStandardError(true);
    return runtime;
}

}  // namespace corvane::platform::live
