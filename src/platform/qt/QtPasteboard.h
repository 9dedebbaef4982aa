#pragma once

#include <optional>
#include <string>

#include "platform/appkit/PasteboardBackend.h"

namespace corvane::platform::qt {

/// The general pasteboard of the live application: the desktop clipboard, through Qt. Only
/// plain text has a place there; other types are refused.
class QtPasteboard final : public PasteboardBackend {
  public:
    long clearContents() override;
    bool setString(const std::string& string, const std::string& type) override;
    std::optional<std::string> stringForType(const std::string& type) const override;

  private:
    long changeCount_ = 0;
};

}  // namespace corvane::platform::qt
