#include "platform/process/Libproc.h"

#include <algorithm>
#include <cstring>

#include "platform/process/ProcessBackend.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<ProcessBackend>& slot() {
    return backendSlot<ProcessBackend>("process");
}

}  // namespace

void installProcessBackend(std::shared_ptr<ProcessBackend> backend) {
    slot().install(std::move(backend));
}

int proc_pidpath(pid_t pid, void* buffer, std::uint32_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0)
        return 0;
    auto path = slot().get().processPath(pid);
    if (!path)
        return 0;
    const std::size_t n = std::min<std::size_t>(path->size(), bufferSize - 1);
    std::memcpy(buffer, path->data(), n);
    static_cast<char*>(buffer)[n] = '\0';
    return static_cast<int>(n);
}

}  // namespace corvane::platform
