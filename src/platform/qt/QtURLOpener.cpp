#include "platform/qt/QtURLOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QString>
#include <QUrl>

#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

bool QtURLOpener::open(const URL& url) {
    ensureQtApplication();
    const QUrl target(QString::fromStdString(url.absoluteString()), QUrl::StrictMode);
    if (!target.isValid())
        return false;
    // The desktop would start a program that finds nothing to show; the platform answers that
    // such a file does not open.
    if (target.isLocalFile() && !QFileInfo::exists(target.toLocalFile()))
        return false;
    return QDesktopServices::openUrl(target);
}

}  // namespace corvane::platform::qt
