#include "platform/qt/QtServices.h"

#include <QSysInfo>
#include <memory>

#include "platform/appkit/PasteboardBackend.h"
#include "platform/appkit/URLOpenerBackend.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/qt/QtPasteboard.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/QtURLOpener.h"

namespace corvane::platform::qt {

void installQtServices() {
    ensureQtApplication();
    installPasteboardBackend(std::make_shared<QtPasteboard>());
    installURLOpenerBackend(std::make_shared<QtURLOpener>());
    ProcessInfo::processInfo().setOperatingSystemVersionString(
        QSysInfo::prettyProductName().toStdString());
}

}  // namespace corvane::platform::qt
