#include "platform/foundation/LocalizedStrings.h"

namespace corvane::platform {

LocalizedStrings& LocalizedStrings::main() {
    static auto* strings = new LocalizedStrings();
    return *strings;
}

std::string LocalizedStrings::localizedString(const std::string& key) const {
    auto it = table_.find(key);
    return it == table_.end() ? key : it->second;
}

}  // namespace corvane::platform
