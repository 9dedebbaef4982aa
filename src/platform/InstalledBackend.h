#pragma once

#include <memory>

namespace corvane::platform {

/// Where one platform concern keeps the backend installed for it. Main thread only: backends
/// are installed at start, before the concern is first used.
template <class Backend>
class InstalledBackend {
  public:
    void install(std::shared_ptr<Backend> backend) { backend_ = std::move(backend); }
    /// The installed backend, else `fallback` (the simulated session's).
    Backend& orElse(Backend& fallback) const { return backend_ ? *backend_ : fallback; }

  private:
    std::shared_ptr<Backend> backend_;
};

}  // namespace corvane::platform
