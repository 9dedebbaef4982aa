#include "scroll/ExceptionIndex.h"

namespace corvane {

namespace {

const ExceptionalApplicationRef kNoException;

}  // namespace

void ExceptionIndex::rebuild(const std::vector<ExceptionalApplicationRef>& exceptions) {
    first_.clear();
    for (const auto& exception : exceptions)
        first_.try_emplace(exception->bundleId(), exception);
    recent_ = {};
    nextRecent_ = 0;
}

const ExceptionalApplicationRef& ExceptionIndex::find(const std::string& bundleId) const {
    if (first_.empty())
        return kNoException;
    const auto found = first_.find(bundleId);
    return found != first_.end() ? found->second : kNoException;
}

const ExceptionalApplicationRef& ExceptionIndex::find(
    const platform::RunningApplicationRef& application) {
    if (!application || !application->bundleIdentifier() || first_.empty())
        return kNoException;
    for (const Recent& recent : recent_) {
        if (recent.application == application)
            return recent.exception;
    }
    Recent& entry = recent_[nextRecent_];
    nextRecent_ = (nextRecent_ + 1) % kRecentApplications;
    entry = Recent{application, find(*application->bundleIdentifier())};
    return entry.exception;
}

}  // namespace corvane
