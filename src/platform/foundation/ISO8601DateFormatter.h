#pragma once

#include <string>

#include "platform/foundation/Date.h"

namespace corvane::platform {

/// Writes dates in the ISO 8601 internet form with the default options: date and time in
/// UTC to the whole second, the fraction dropped, as in "2026-12-09T08:41:32Z".
class ISO8601DateFormatter {
  public:
    /// The text of `date`. A date the form cannot hold (not finite, or outside the years
    /// 0001 to 9999) gives "?" instead.
    std::string stringFromDate(Date date) const;
};

}  // namespace corvane::platform
