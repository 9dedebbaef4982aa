#include "platform/sparkle/SPUUpdater.h"

#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<UpdateBackend>& slot() {
    return backendSlot<UpdateBackend>("update");
}

bool storedSwitch(const char* key, bool fallback) {
    const auto value = UserDefaults::standard().object(key);
    return value && value->boolean() != nullptr ? *value->boolean() : fallback;
}

}  // namespace

void installUpdateBackend(std::shared_ptr<UpdateBackend> backend) {
    slot().install(std::move(backend));
}

SPUUpdater::SPUUpdater(SPUUpdaterDelegate* updaterDelegate,
                       SPUStandardUserDriverDelegate* userDriverDelegate)
    : updaterDelegate_(updaterDelegate), userDriverDelegate_(userDriverDelegate) {}

SPUUpdater::~SPUUpdater() {
    if (started_)
        slot().get().detach(*this);
}

void SPUUpdater::startUpdater() {
    if (started_)
        return;
    started_ = true;
    slot().get().attach(*this);
    canCheckForUpdates_.set(true);
    if (automaticallyChecksForUpdates())
        scheduleNextCheck();
}

AnyCancellable SPUUpdater::observeCanCheckForUpdates(unsigned options,
                                                     std::function<void(bool)> handler) {
    return canCheckForUpdates_.observe(
        options, [handler = std::move(handler)](const bool& can) { handler(can); });
}

void SPUUpdater::checkForUpdates() {
    if (!canCheckForUpdates())
        return;
    if (session_) {
        offer(true);
        return;
    }
    startCheck(true);
}

bool SPUUpdater::automaticallyChecksForUpdates() const {
    return storedSwitch(kAutomaticChecksKey, true);
}

void SPUUpdater::setAutomaticallyChecksForUpdates(bool automaticallyChecks) {
    UserDefaults::standard().set(kAutomaticChecksKey, automaticallyChecks);
    if (!started_)
        return;
    if (!automaticallyChecks)
        slot().get().cancelScheduledCheck();
    else if (!checking_ && !session_)
        scheduleNextCheck();
}

bool SPUUpdater::automaticallyDownloadsUpdates() const {
    return storedSwitch(kAutomaticDownloadsKey, false);
}

void SPUUpdater::setAutomaticallyDownloadsUpdates(bool automaticallyDownloads) {
    UserDefaults::standard().set(kAutomaticDownloadsKey, automaticallyDownloads);
}

void SPUUpdater::scheduledCheckDue() {
    // A check already running or an update being offered makes this one pointless; the
    // schedule resumes when they end.
    if (!automaticallyChecksForUpdates() || checking_ || session_)
        return;
    startCheck(false);
}

bool SPUUpdater::userAttendedUpdate() {
    if (!session_)
        return false;
    if (userDriverDelegate_ != nullptr)
        userDriverDelegate_->standardUserDriverDidReceiveUserAttentionForUpdate(*session_);
    return true;
}

bool SPUUpdater::userFinishedUpdateSession() {
    if (!session_)
        return false;
    if (userDriverDelegate_ != nullptr)
        userDriverDelegate_->standardUserDriverWillFinishUpdateSession();
    session_.reset();
    if (automaticallyChecksForUpdates())
        scheduleNextCheck();
    return true;
}

void SPUUpdater::scheduleNextCheck() {
    if (updaterDelegate_ != nullptr)
        updaterDelegate_->updaterWillScheduleUpdateCheckAfterDelay(*this, kUpdateCheckInterval);
    slot().get().scheduleCheck(kUpdateCheckInterval);
}

void SPUUpdater::startCheck(bool userInitiated) {
    checking_ = true;
    canCheckForUpdates_.set(false);
    std::weak_ptr<int> alive = alive_;
    slot().get().findUpdate([this, alive, userInitiated](const UpdateCheckResult& result) {
        if (!alive.expired())
            checkFinished(result, userInitiated);
    });
}

void SPUUpdater::checkFinished(const UpdateCheckResult& result, bool userInitiated) {
    checking_ = false;
    canCheckForUpdates_.set(true);
    if (result.update) {
        session_ = result.update;
        offer(userInitiated);
        return;
    }
    // A check the user asked for ends with "up to date" or the error shown, a session of
    // its own that the user closes at once; a scheduled one shows nothing.
    if (userInitiated && userDriverDelegate_ != nullptr)
        userDriverDelegate_->standardUserDriverWillFinishUpdateSession();
    if (automaticallyChecksForUpdates())
        scheduleNextCheck();
}

void SPUUpdater::offer(bool userInitiated) {
    const bool gentle = userDriverDelegate_ != nullptr &&
                        userDriverDelegate_->supportsGentleScheduledUpdateReminders();
    // Copied: a delegate may end the session while it is told.
    const SUAppcastItem update = *session_;
    if (userDriverDelegate_ != nullptr)
        userDriverDelegate_->standardUserDriverWillHandleShowingUpdate(
            userInitiated || !gentle, update, SPUUserUpdateState{.userInitiated = userInitiated});
    // An update the user asked to see comes into view in front of them: they have turned
    // to it.
    if (userInitiated && userDriverDelegate_ != nullptr)
        userDriverDelegate_->standardUserDriverDidReceiveUserAttentionForUpdate(update);
}

}  // namespace corvane::platform
