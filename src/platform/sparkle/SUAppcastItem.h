#pragma once

#include <string>

namespace corvane::platform {

/// One release offered by the update feed.
struct SUAppcastItem {
    /// The version as people read it ("2.5").
    std::string displayVersionString;

    bool operator==(const SUAppcastItem&) const = default;
};

}  // namespace corvane::platform
