#include "platform/sim/RuntimeFolder.h"

#include <cstdlib>

#include "platform/sim/Session.h"
#include "platform/sim/SimFileSystem.h"

namespace corvane::platform::sim {

void provideRuntimeFolder() {
    if (const char* set = std::getenv("XDG_RUNTIME_DIR"); set != nullptr && *set != '\0')
        return;
    if (const auto folder = session().files().privateFolder("runtime"))
        ::setenv("XDG_RUNTIME_DIR", folder->c_str(), 1);
}

}  // namespace corvane::platform::sim
