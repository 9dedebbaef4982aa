#include "platform/sim/SimPasteboard.h"

namespace corvane::platform::sim {

long SimPasteboard::clearContents() {
    strings_.clear();
    return ++changeCount_;
}

bool SimPasteboard::setString(const std::string& string, const std::string& type) {
    if (refusesWrites_)
        return false;
    strings_.insert_or_assign(type, string);
    return true;
}

std::optional<std::string> SimPasteboard::stringForType(const std::string& type) const {
    auto it = strings_.find(type);
    if (it == strings_.end())
        return std::nullopt;
    return it->second;
}

}  // namespace corvane::platform::sim
