#pragma once

#include <memory>

#include "platform/foundation/URL.h"

namespace corvane::platform {

/// What opens URLs for the workspace: the simulated session (which decides which schemes open
/// and records every request) or, in the live application, the desktop. Main thread only.
class URLOpenerBackend {
  public:
    virtual ~URLOpenerBackend() = default;
    /// Opens `url` with its default handler; true when it opened.
    virtual bool open(const URL& url) = 0;
};

/// Installs the process's backend for opening URLs.
void installURLOpenerBackend(std::shared_ptr<URLOpenerBackend> backend);

}  // namespace corvane::platform
