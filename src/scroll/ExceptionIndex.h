#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "settings/ExceptionalApplication.h"

namespace corvane {

/// The first exception of each bundle identifier in a list of exceptions, found in constant
/// time however long the list: the coordinator asks it on every change of target application.
/// Built again whenever the list may have changed; an exception's own values are not part of
/// it (they are read from the exception itself). Main thread only.
class ExceptionIndex {
  public:
    /// Indexes `exceptions`; of several with one bundle identifier the first in list order
    /// counts, as it does in a scan of the list.
    void rebuild(const std::vector<ExceptionalApplicationRef>& exceptions);
    /// The first exception whose bundle identifier is exactly `bundleId`, or null.
    ExceptionalApplicationRef find(const std::string& bundleId) const;

  private:
    std::unordered_map<std::string, ExceptionalApplicationRef> first_;
};

}  // namespace corvane
