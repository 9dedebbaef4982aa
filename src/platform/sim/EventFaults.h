#pragma once

#include "platform/sim/FaultCount.h"

namespace corvane::platform::sim {

/// Fault knobs of the simulated session's event services. Usable from any thread.
class EventFaults {
  public:
    /// Makes the next `count` event copies fail.
    void failNextCopy(int count) { copyFailures_.set(count); }
    /// True when the copy being made now must fail.
    bool consumeCopyFailure() { return copyFailures_.take(); }

    /// Makes the next `count` run-loop sources made for a port fail (none is made).
    void failNextRunLoopSource(int count) { sourceFailures_.set(count); }
    /// True when the source being made now must fail.
    bool consumeRunLoopSourceFailure() { return sourceFailures_.take(); }

  private:
    FaultCount copyFailures_;
    FaultCount sourceFailures_;
};

}  // namespace corvane::platform::sim
