#include "platform/foundation/Process.h"

#include "platform/foundation/ProcessInfo.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<TaskBackend>& slot() {
    return backendSlot<TaskBackend>("task");
}

}  // namespace

void installTaskBackend(std::shared_ptr<TaskBackend> backend) {
    slot().install(std::move(backend));
}

TaskBackend& taskBackend() {
    return slot().get();
}

void Process::launch() {
    taskBackend().launch(launchPath_, arguments_, handler_);
}

void exitProcess(int status) {
    taskBackend().exit(status);
}

int ProcessInfo::processIdentifier() const {
    return taskBackend().processIdentifier();
}

}  // namespace corvane::platform
