#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace corvane::platform {

/// Where the installed backend of one platform concern is kept. Every backend ever installed
/// stays alive and is never destroyed: a reference handed out before a replacement must never
/// dangle, and threads of a live backend may still use it while the process exits. Reading
/// the installed backend takes no lock.
template <class Backend>
class BackendSlot {
  public:
    /// `concern` names the concern in the error of a use before any install.
    explicit BackendSlot(const char* concern) : concern_(concern) {}

    /// The installed backend; throws std::logic_error when none was installed (a program
    /// chooses its backends before it uses the platform).
    Backend& get() const {
        if (Backend* backend = current_.load(std::memory_order_acquire)) [[likely]] {
            return *backend;
        }
        throwNotInstalled();
    }

    bool isInstalled() const { return current_.load(std::memory_order_acquire) != nullptr; }

    void install(std::shared_ptr<Backend> backend) {
        if (!backend) {
            throw std::invalid_argument(std::string("installing no ") + concern_ + " backend");
        }
        std::lock_guard lock(mutex_);
        installed_.push_back(std::move(backend));
        current_.store(installed_.back().get(), std::memory_order_release);
    }

  private:
    // Out of line, so that `get`, which every clock read goes through, stays small.
    [[noreturn, gnu::noinline, gnu::cold]] void throwNotInstalled() const {
        throw std::logic_error(std::string("no ") + concern_ +
                               " backend installed: install the simulated session or the live "
                               "backend first");
    }

    const char* concern_;
    std::mutex mutex_;
    std::vector<std::shared_ptr<Backend>> installed_;
    std::atomic<Backend*> current_{nullptr};
};

/// The process's slot for `Backend`, created on first use and never destroyed.
template <class Backend>
BackendSlot<Backend>& backendSlot(const char* concern) {
    static auto* slot = new BackendSlot<Backend>(concern);
    return *slot;
}

}  // namespace corvane::platform
