#include "platform/appkit/NSPasteboard.h"

#include "platform/appkit/PasteboardBackend.h"
#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<PasteboardBackend>& slot() {
    return backendSlot<PasteboardBackend>("Pasteboard");
}

}  // namespace

void installPasteboardBackend(std::shared_ptr<PasteboardBackend> backend) {
    slot().install(std::move(backend));
}

NSPasteboard& NSPasteboard::generalPasteboard() {
    static auto* pasteboard = new NSPasteboard();
    return *pasteboard;
}

long NSPasteboard::clearContents() {
    return slot().get().clearContents();
}

bool NSPasteboard::setString(const std::string& string, const NSPasteboardType& type) {
    return slot().get().setString(string, type);
}

std::optional<std::string> NSPasteboard::stringForType(const NSPasteboardType& type) const {
    return slot().get().stringForType(type);
}

}  // namespace corvane::platform
