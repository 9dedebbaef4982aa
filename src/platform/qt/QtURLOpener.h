#pragma once

#include "platform/appkit/URLOpenerBackend.h"

namespace corvane::platform::qt {

/// The live application's opening of URLs: the desktop's, through Qt (a handler the program
/// registered for the scheme first, else the desktop's default application). A URL that does
/// not parse, a file URL of a file that does not exist, or one the desktop refuses does not
/// open.
class QtURLOpener final : public URLOpenerBackend {
  public:
    bool open(const URL& url) override;
};

}  // namespace corvane::platform::qt
