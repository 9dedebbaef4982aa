#include "platform/qt/QtPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/appkit/NSPasteboard.h"
#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

long QtPasteboard::clearContents() {
    ensureQtApplication();
    QGuiApplication::clipboard()->clear();
    return ++changeCount_;
}

bool QtPasteboard::setString(const std::string& string, const std::string& type) {
    if (type != NSPasteboardTypeString)
        return false;
    ensureQtApplication();
    QGuiApplication::clipboard()->setText(QString::fromStdString(string));
    return true;
}

std::optional<std::string> QtPasteboard::stringForType(const std::string& type) const {
    if (type != NSPasteboardTypeString)
        return std::nullopt;
    ensureQtApplication();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

}  // namespace corvane::platform::qt
