#pragma once

#include <memory>

#include "platform/corevideo/DisplayLinkBackend.h"
#include "platform/live/LiveDisplays.h"
#include "platform/live/ThreadRuntime.h"
#include "platform/quartz/DisplayBackend.h"

namespace corvane::testing {

/// The live primitives installed over the simulated session: the thread runtime with its real
/// clock and display links on real threads. Everything else (the window server that records
/// what is posted, the workspace) stays the simulated session's.
struct LiveThreads {
    std::shared_ptr<platform::live::ThreadRuntime> runtime;
    std::shared_ptr<platform::live::LiveDisplays> displays;
};

inline LiveThreads installLiveThreads() {
    LiveThreads live{std::make_shared<platform::live::ThreadRuntime>(),
                     std::make_shared<platform::live::LiveDisplays>()};
    platform::installRuntime(live.runtime);
    platform::installDisplayBackend(live.displays);
    platform::installDisplayLinkBackend(live.displays);
    return live;
}

}  // namespace corvane::testing
