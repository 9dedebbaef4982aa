#include "platform/qt/QtServices.h"

#include <QSysInfo>
#include <memory>

#include "platform/appkit/PasteboardBackend.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/qt/QtPasteboard.h"
#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

void installQtServices() {
    ensureQtApplication();
    installPasteboardBackend(std::make_shared<QtPasteboard>());
    ProcessInfo::processInfo().setOperatingSystemVersionString(
        QSysInfo::prettyProductName().toStdString());
}

}  // namespace corvane::platform::qt
