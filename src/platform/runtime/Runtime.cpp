#include "platform/runtime/Runtime.h"

#include <atomic>
#include <mutex>
#include <vector>

#include "platform/sim/VirtualRuntime.h"

namespace corvane::platform {

namespace {

std::mutex& installMutex() {
    static std::mutex mutex;
    return mutex;
}

// Every runtime ever installed stays alive: a reference handed out before a replacement
// must never dangle.
// Never destroyed either: threads of a live runtime may still read the clock while the
// process exits.
std::vector<std::shared_ptr<Runtime>>& installedRuntimes() {
    static auto* runtimes = new std::vector<std::shared_ptr<Runtime>>();
    return *runtimes;
}

std::atomic<Runtime*> current{nullptr};

}  // namespace

Runtime& runtime() {
    if (Runtime* r = current.load(std::memory_order_acquire)) {
        return *r;
    }
    std::lock_guard lock(installMutex());
    if (current.load(std::memory_order_relaxed) == nullptr) {
        installedRuntimes().push_back(std::make_shared<sim::VirtualRuntime>());
        current.store(installedRuntimes().back().get(), std::memory_order_release);
    }
    return *current.load(std::memory_order_relaxed);
}

void installRuntime(std::shared_ptr<Runtime> replacement) {
    std::lock_guard lock(installMutex());
    installedRuntimes().push_back(std::move(replacement));
    current.store(installedRuntimes().back().get(), std::memory_order_release);
}

}  // namespace corvane::platform
