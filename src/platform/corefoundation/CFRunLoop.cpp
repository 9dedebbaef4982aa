#include "platform/corefoundation/CFRunLoop.h"

#include <algorithm>

#include "platform/corefoundation/MachPortBackend.h"
#include "platform/runtime/BackendSlot.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform {

namespace {

BackendSlot<MachPortBackend>& machPortSlot() {
    return backendSlot<MachPortBackend>("port");
}

}  // namespace

void installMachPortBackend(std::shared_ptr<MachPortBackend> backend) {
    machPortSlot().install(std::move(backend));
}

void CFRunLoop::addSource(const CFRunLoopSourceRef& source, const CFRunLoopMode& mode) {
    if (!source)
        return;
    std::lock_guard lock(mutex_);
    const bool present = std::any_of(attachments_.begin(), attachments_.end(), [&](const auto& a) {
        return a.source == source && a.mode == mode;
    });
    if (!present)
        attachments_.push_back(Attachment{source, mode});
}

void CFRunLoop::removeSource(const CFRunLoopSourceRef& source, const CFRunLoopMode& mode) {
    std::lock_guard lock(mutex_);
    std::erase_if(attachments_,
                  [&](const Attachment& a) { return a.source == source && a.mode == mode; });
}

bool CFRunLoop::containsSource(const CFRunLoopSourceRef& source, const CFRunLoopMode& mode) const {
    if (!source)
        return false;
    std::lock_guard lock(mutex_);
    return std::any_of(attachments_.begin(), attachments_.end(), [&](const Attachment& a) {
        return a.source == source && (a.mode == mode || (a.mode == kCFRunLoopCommonModes &&
                                                         mode == kCFRunLoopDefaultMode));
    });
}

bool CFRunLoop::runsSourceOf(const CFMachPort* port) const {
    std::lock_guard lock(mutex_);
    return std::any_of(attachments_.begin(), attachments_.end(), [&](const Attachment& a) {
        return a.source->port().get() == port &&
               (a.mode == kCFRunLoopDefaultMode || a.mode == kCFRunLoopCommonModes);
    });
}

std::size_t CFRunLoop::attachmentCount() const {
    std::lock_guard lock(mutex_);
    return attachments_.size();
}

CFRunLoopRef CFRunLoopGetMain() {
    static auto* main = new CFRunLoopRef(std::make_shared<CFRunLoop>(true));
    return *main;
}

CFRunLoopRef CFRunLoopGetCurrent() {
    if (runtime().isMainThread())
        return CFRunLoopGetMain();
    thread_local CFRunLoopRef own = std::make_shared<CFRunLoop>(false);
    return own;
}

void CFRunLoopAddSource(const CFRunLoopRef& rl, const CFRunLoopSourceRef& source,
                        const CFRunLoopMode& mode) {
    if (rl)
        rl->addSource(source, mode);
}

void CFRunLoopRemoveSource(const CFRunLoopRef& rl, const CFRunLoopSourceRef& source,
                           const CFRunLoopMode& mode) {
    if (rl)
        rl->removeSource(source, mode);
}

bool CFRunLoopContainsSource(const CFRunLoopRef& rl, const CFRunLoopSourceRef& source,
                             const CFRunLoopMode& mode) {
    return rl && rl->containsSource(source, mode);
}

CFRunLoopSourceRef CFMachPortCreateRunLoopSource(CFAllocatorRef /*allocator*/,
                                                 const CFMachPortRef& port, CFIndex order) {
    if (!port)
        return nullptr;
    return machPortSlot().get().createRunLoopSource(port, order);
}

}  // namespace corvane::platform
