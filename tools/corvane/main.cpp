// corvane: the application on the live session (real clock, threaded queues, the user
// defaults file, the Qt event loop as the main run loop, the status item in the system
// tray). It takes no arguments; SIGTERM and SIGINT end it through the application's own
// termination.
#include "app/CorvaneApp.h"
#include "platform/live/LiveSession.h"
#include "platform/live/TerminationSignals.h"
#include "platform/qt/QtMainLoop.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/TrayStatusBar.h"

int main() {
    using namespace corvane::platform;
    auto runtime = live::installLiveSession();
    qt::installQtMainLoop(std::move(runtime), live::TerminationSignals::install());
    qt::installTrayStatusBar();
    qt::installQtServices();
    return corvane::CorvaneApp::main();
}
