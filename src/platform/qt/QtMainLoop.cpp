#include "platform/qt/QtMainLoop.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <atomic>
#include <cmath>

#include <unistd.h>

#include "platform/appkit/NSAlert.h"
#include "platform/foundation/FileManager.h"
#include "platform/qt/DesktopNotifications.h"
#include "platform/qt/QtAlerts.h"
#include "platform/qt/QtFileManager.h"
#include "platform/qt/QtOpenPanel.h"
#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

namespace {

/// Reads everything waiting in the non-blocking pipe `fd`; true when anything was there.
bool drain(int fd) {
    bool arrived = false;
    char buffer[64];
    while (::read(fd, buffer, sizeof buffer) > 0)
        arrived = true;
    return arrived;
}

}  // namespace

struct QtMainLoop::Impl {
    std::shared_ptr<MainThreadPump> runtime;
    int terminationFd = -1;
    QPointer<QTimer> dueTimer;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> wakeQueued{false};

    /// Runs the main work that is due and sets the timer for the next.
    void pump() {
        wakeQueued.store(false);
        const double next = runtime->runDueWork();
        if (dueTimer == nullptr || stopRequested.load())
            return;
        if (std::isinf(next)) {
            dueTimer->stop();
            return;
        }
        const double wait = std::max(0.0, next - runtime->mediaTime());
        dueTimer->start(static_cast<int>(std::ceil(wait * 1000.0)));
    }
};

QtMainLoop::QtMainLoop(std::shared_ptr<MainThreadPump> runtime, int terminationFd)
    : impl_(new Impl) {
    impl_->runtime = std::move(runtime);
    impl_->terminationFd = terminationFd;
}

QtMainLoop::~QtMainLoop() {
    impl_->runtime->setMainWakeHandler({});
}

void QtMainLoop::run() {
    ensureQtApplication();
    if (impl_->stopRequested.exchange(false))
        return;
    QTimer dueTimer;
    dueTimer.setSingleShot(true);
    dueTimer.setTimerType(Qt::PreciseTimer);
    impl_->dueTimer = &dueTimer;
    Impl* impl = impl_.get();
    QObject::connect(&dueTimer, &QTimer::timeout, [impl] { impl->pump(); });
    // Work queued from any thread wakes the loop once until the pump has run.
    impl_->runtime->setMainWakeHandler([impl] {
        if (impl->wakeQueued.exchange(true))
            return;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [impl] { impl->pump(); }, Qt::QueuedConnection);
    });
    // A signal that came before the loop ran waits in the pipe and is seen at once.
    std::unique_ptr<QSocketNotifier> termination;
    if (const int fd = impl_->terminationFd; fd >= 0) {
        termination = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(termination.get(), &QSocketNotifier::activated, [fd] {
            if (drain(fd))
                NSApplication::shared().terminate();
        });
    }
    impl->pump();
    if (!impl_->stopRequested.load())
        QCoreApplication::exec();
    impl_->runtime->setMainWakeHandler({});
    impl_->dueTimer = nullptr;
    impl_->stopRequested.store(false);
}

void QtMainLoop::stop() {
    impl_->stopRequested.store(true);
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::exit(0);
}

void installQtMainLoop(std::shared_ptr<MainThreadPump> runtime, int terminationFd) {
    installFileManagerBackend(std::make_shared<QtFileManager>());
    installAlertBackend(std::make_shared<QtAlerts>());
    installOpenPanelBackend(std::make_shared<QtOpenPanel>());
    ensureQtApplication();
    installDesktopNotifications();
    NSApplication::shared().setEventLoop(
        std::make_shared<QtMainLoop>(std::move(runtime), terminationFd));
}

}  // namespace corvane::platform::qt
