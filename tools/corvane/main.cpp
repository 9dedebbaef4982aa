// corvane: the application on the live session (real clock, threaded queues, the user
// defaults file, the Qt event loop as the main run loop, the status item in the system
// tray). It takes no arguments.
#include "app/CorvaneApp.h"
#include "platform/live/LiveSession.h"
#include "platform/qt/QtMainLoop.h"
#include "platform/qt/TrayStatusBar.h"

int main() {
    corvane::platform::qt::installQtMainLoop(corvane::platform::live::installLiveSession());
    corvane::platform::qt::installTrayStatusBar();
    return corvane::CorvaneApp::main();
}
