#include "app/CorvaneApp.h"

#include "platform/appkit/NSApplication.h"

namespace corvane {

int CorvaneApp::main() {
    static auto* app = new CorvaneApp();
    auto& application = platform::NSApplication::shared();
    application.setDelegate(&app->appDelegate());
    return application.run();
}

}  // namespace corvane
