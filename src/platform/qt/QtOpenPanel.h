#pragma once

#include "platform/appkit/NSOpenPanel.h"

namespace corvane::platform::qt {

/// Open panels of the live application: the desktop's file dialog (QFileDialog), modal, with
/// the panel's title and folder, choosing existing files, folders or both, one or several.
class QtOpenPanel final : public OpenPanelBackend {
  public:
    std::optional<std::vector<URL>> runModal(const NSOpenPanel& panel) override;
};

}  // namespace corvane::platform::qt
