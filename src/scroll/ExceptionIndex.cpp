#include "scroll/ExceptionIndex.h"

namespace corvane {

void ExceptionIndex::rebuild(const std::vector<ExceptionalApplicationRef>& exceptions) {
    first_.clear();
    for (const auto& exception : exceptions)
        first_.try_emplace(exception->bundleId(), exception);
}

ExceptionalApplicationRef ExceptionIndex::find(const std::string& bundleId) const {
    if (first_.empty())
        return nullptr;
    const auto found = first_.find(bundleId);
    return found != first_.end() ? found->second : nullptr;
}

}  // namespace corvane
