#include "platform/runtime/Runtime.h"

#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<Runtime>& slot() {
    return backendSlot<Runtime>("runtime");
}

}  // namespace

Runtime& runtime() {
    return slot().get();
}

void installRuntime(std::shared_ptr<Runtime> replacement) {
    slot().install(std::move(replacement));
}

}  // namespace corvane::platform
