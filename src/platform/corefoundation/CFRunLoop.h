#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/corefoundation/CFMachPort.h"

namespace corvane::platform {

using CFIndex = long;
using CFAllocatorRef = const void*;
/// The default allocator (the only one this layer knows).
inline constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;

/// A run-loop mode by name.
using CFRunLoopMode = std::string;
/// The mode a run loop runs in by default.
inline const CFRunLoopMode kCFRunLoopDefaultMode = "kCFRunLoopDefaultMode";
/// The set of common modes; it holds the default mode.
inline const CFRunLoopMode kCFRunLoopCommonModes = "kCFRunLoopCommonModes";

/// A source of work for a run loop: here always the source of a port.
class CFRunLoopSource {
  public:
    CFRunLoopSource(CFMachPortRef port, CFIndex order) : port_(std::move(port)), order_(order) {}

    /// The port whose messages the source delivers (the source keeps it alive).
    const CFMachPortRef& port() const { return port_; }
    CFIndex order() const { return order_; }

  private:
    CFMachPortRef port_;
    CFIndex order_;
};

using CFRunLoopSourceRef = std::shared_ptr<CFRunLoopSource>;

/// A run loop: the sources attached to it, per mode. The main run loop is the one the
/// simulated window server delivers through; the run loops of other threads never run.
/// Thread-safe.
class CFRunLoop {
  public:
    explicit CFRunLoop(bool isMain) : isMain_(isMain) {}

    bool isMain() const { return isMain_; }
    /// Attaches `source` in `mode`; attaching it again in the same mode changes nothing.
    void addSource(const CFRunLoopSourceRef& source, const CFRunLoopMode& mode);
    void removeSource(const CFRunLoopSourceRef& source, const CFRunLoopMode& mode);
    /// Whether `source` is attached in `mode`; a source in the common modes is also in the
    /// default mode.
    bool containsSource(const CFRunLoopSourceRef& source, const CFRunLoopMode& mode) const;
    /// Whether a source of `port` is attached in a mode the loop runs in (the default mode).
    bool runsSourceOf(const CFMachPort* port) const;
    /// How many (source, mode) attachments the loop holds.
    std::size_t attachmentCount() const;

  private:
    struct Attachment {
        CFRunLoopSourceRef source;
        CFRunLoopMode mode;
    };

    const bool isMain_;
    mutable std::mutex mutex_;
    std::vector<Attachment> attachments_;
};

using CFRunLoopRef = std::shared_ptr<CFRunLoop>;

/// The main thread's run loop.
CFRunLoopRef CFRunLoopGetMain();
/// The calling thread's run loop: the main run loop on the main thread (the main lane of
/// the simulated session), otherwise a loop of the calling thread that never runs.
CFRunLoopRef CFRunLoopGetCurrent();
void CFRunLoopAddSource(const CFRunLoopRef& rl, const CFRunLoopSourceRef& source,
                        const CFRunLoopMode& mode);
void CFRunLoopRemoveSource(const CFRunLoopRef& rl, const CFRunLoopSourceRef& source,
                           const CFRunLoopMode& mode);
bool CFRunLoopContainsSource(const CFRunLoopRef& rl, const CFRunLoopSourceRef& source,
                             const CFRunLoopMode& mode);

/// A run-loop source for `port`, or null when there is no port.
CFRunLoopSourceRef CFMachPortCreateRunLoopSource(CFAllocatorRef allocator,
                                                 const CFMachPortRef& port, CFIndex order);

}  // namespace corvane::platform
