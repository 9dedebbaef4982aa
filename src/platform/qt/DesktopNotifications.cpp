#include "platform/qt/DesktopNotifications.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>

namespace corvane::platform::qt {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
/// The reason the service gives when the user dismissed a notification.
constexpr uint kDismissedByUser = 2;

QDBusMessage call(const QString& method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    message.setArguments(arguments);
    return message;
}

}  // namespace

DesktopNotifications::DesktopNotifications() {
    auto bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(actionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(notificationClosed(uint, uint)));
}

bool DesktopNotifications::serviceAvailable() const {
    auto bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() != nullptr &&
           bus.interface()->isServiceRegistered(kService).value();
}

bool DesktopNotifications::requestAuthorization(unsigned options) {
    (void)options;
    return serviceAvailable();
}

std::optional<std::string> DesktopNotifications::deliver(const UNNotificationRequest& request) {
    if (!serviceAvailable())
        return "The desktop has no notification service";
    // A request with an identifier already shown replaces that notification.
    const auto previous = shown_.find(request.identifier);
    const uint replaces = previous != shown_.end() ? previous->second : 0;
    const QVariantList arguments = {QStringLiteral("Corvane"),
                                    replaces,
                                    QString(),
                                    QString::fromStdString(request.content.title),
                                    QString::fromStdString(request.content.body),
                                    QStringList{QStringLiteral("default"), QString()},
                                    QVariantMap(),
                                    -1};
    const QDBusReply<uint> reply =
        QDBusConnection::sessionBus().call(call(QStringLiteral("Notify"), arguments));
    if (!reply.isValid())
        return reply.error().message().toStdString();
    shown_[request.identifier] = reply.value();
    return std::nullopt;
}

void DesktopNotifications::removeDelivered(const std::vector<std::string>& identifiers) {
    for (const auto& identifier : identifiers) {
        const auto it = shown_.find(identifier);
        if (it == shown_.end())
            continue;
        QDBusConnection::sessionBus().call(call(QStringLiteral("CloseNotification"), {it->second}),
                                           QDBus::NoBlock);
        shown_.erase(it);
    }
}

void DesktopNotifications::setResponseHandler(
    std::function<void(const UNNotificationResponse&)> handler) {
    respond_ = std::move(handler);
}

std::optional<std::string> DesktopNotifications::forget(uint id) {
    for (auto it = shown_.begin(); it != shown_.end(); ++it) {
        if (it->second == id) {
            std::string identifier = it->first;
            shown_.erase(it);
            return identifier;
        }
    }
    return std::nullopt;
}

void DesktopNotifications::actionInvoked(uint id, const QString& actionKey) {
    if (actionKey != QStringLiteral("default"))
        return;
    if (auto identifier = forget(id); identifier && respond_)
        respond_({*identifier, UNNotificationDefaultActionIdentifier});
}

void DesktopNotifications::notificationClosed(uint id, uint reason) {
    auto identifier = forget(id);
    if (identifier && reason == kDismissedByUser && respond_)
        respond_({*identifier, UNNotificationDismissActionIdentifier});
}

void installDesktopNotifications() {
    installUserNotificationsBackend(std::make_shared<DesktopNotifications>());
}

}  // namespace corvane::platform::qt
