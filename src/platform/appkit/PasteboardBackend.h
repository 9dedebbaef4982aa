#pragma once

#include <memory>
#include <optional>
#include <string>

namespace corvane::platform {

/// What provides the general pasteboard: the simulated session's (plain data) or the
/// desktop clipboard of the live application. Main thread only.
class PasteboardBackend {
  public:
    virtual ~PasteboardBackend() = default;
    /// Drops every item; returns the new change count.
    virtual long clearContents() = 0;
    /// Stores `string` under `type`; false when the pasteboard refused it.
    virtual bool setString(const std::string& string, const std::string& type) = 0;
    /// The string stored under `type`, or none.
    virtual std::optional<std::string> stringForType(const std::string& type) const = 0;
};

/// Installs the general pasteboard's backend of the process.
void installPasteboardBackend(std::shared_ptr<PasteboardBackend> backend);

}  // namespace corvane::platform
