#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/appkit/PasteboardBackend.h"

namespace corvane::platform::sim {

/// The simulated session's general pasteboard: the strings on it by type, a change count,
/// and a knob that makes it refuse writes (as a pasteboard owned by a hung process would).
class SimPasteboard final : public PasteboardBackend {
  public:
    long clearContents() override;
    bool setString(const std::string& string, const std::string& type) override;
    std::optional<std::string> stringForType(const std::string& type) const override;

    /// Incremented by every clear, as the platform's change count is.
    long changeCount() const { return changeCount_; }
    /// The knob: every write is refused while set.
    void setWriteRefused(bool refused) { refusesWrites_ = refused; }

  private:
    std::map<std::string, std::string> strings_;
    long changeCount_ = 0;
    bool refusesWrites_ = false;
};

}  // namespace corvane::platform::sim
