#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/appkit/RunningApplication.h"
#include "settings/ExceptionalApplication.h"

namespace corvane {

/// The first exception of each bundle identifier in a list of exceptions: the coordinator asks
/// it on every change of target application. The identifiers are kept in a hash map (which the
/// standard library scans entry by entry while it holds few of them, about 20), and the answers
/// for the few most recent target applications are kept beside it, so that switching among
/// them compares only the application objects. Built again whenever the list may have changed;
/// an exception's own values are not part of it (they are read from the exception itself).
/// Main thread only.
class ExceptionIndex {
  public:
    /// Indexes `exceptions`; of several with one bundle identifier the first in list order
    /// counts, as it does in a scan of the list. Forgets the recent answers.
    void rebuild(const std::vector<ExceptionalApplicationRef>& exceptions);
    /// The first exception whose bundle identifier is exactly `application`'s, or null (also
    /// for no application or one without a bundle identifier).
    const ExceptionalApplicationRef& find(const platform::RunningApplicationRef& application);

  private:
    /// The first exception whose bundle identifier is exactly `bundleId`, or null.
    const ExceptionalApplicationRef& find(const std::string& bundleId) const;

    /// An application asked for since the latest rebuild and its answer. The entry holds the
    /// application, so no other object can take its address while the answer is kept; an
    /// application's bundle identifier never changes.
    struct Recent {
        platform::RunningApplicationRef application;
        ExceptionalApplicationRef exception;
    };
    static constexpr std::size_t kRecentApplications = 4;

    std::unordered_map<std::string, ExceptionalApplicationRef> first_;
    std::array<Recent, kRecentApplications> recent_;
    std::size_t nextRecent_ = 0;  ///< the entry the next new application replaces
};

}  // namespace corvane
