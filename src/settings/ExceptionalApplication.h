#pragma once

#include <memory>
#include <string>

#include "platform/combine/Publisher.h"
#include "settings/ScrollAdvanced.h"
#include "settings/ScrollBase.h"

namespace corvane {

/// A per-application override: a shared, mutable object identified by its bundle identifier.
/// Every copy of the settings holds the same object, so a change is seen everywhere at once.
/// Assigning `scrollBase`, `scrollAdvanced` or `inherit` saves the whole settings document
/// through the store without notifying the store's observers; the exception announces it to
/// its own observers first (`objectWillChange`). Main thread only.
class ExceptionalApplication : public platform::ObservableObject {
  public:
    /// A new exception: smoothing and horizontal smoothing on, reverse off, the default
    /// parameters, and `inherit` on.
    explicit ExceptionalApplication(std::string bundleId);
    ExceptionalApplication(std::string bundleId, ScrollBase scrollBase,
                           ScrollAdvanced scrollAdvanced, bool inherit);

    const std::string& bundleId() const { return bundleId_; }
    const ScrollBase& scrollBase() const { return scrollBase_; }
    const ScrollAdvanced& scrollAdvanced() const { return scrollAdvanced_; }
    /// Take the global `scrollAdvanced` instead of this exception's own.
    bool inherit() const { return inherit_; }

    void setScrollBase(ScrollBase scrollBase);
    void setScrollAdvanced(ScrollAdvanced scrollAdvanced);
    void setInherit(bool inherit);

    /// Two exceptions are equal when their bundle identifiers are.
    friend bool operator==(const ExceptionalApplication& a, const ExceptionalApplication& b) {
        return a.bundleId_ == b.bundleId_;
    }

  private:
    std::string bundleId_;
    ScrollBase scrollBase_;
    ScrollAdvanced scrollAdvanced_;
    bool inherit_ = true;
};

using ExceptionalApplicationRef = std::shared_ptr<ExceptionalApplication>;

}  // namespace corvane
