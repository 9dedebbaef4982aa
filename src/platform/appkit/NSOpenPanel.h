#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/NSAlert.h"
#include "platform/foundation/URL.h"

namespace corvane::platform {

/// What a modal open panel ended with.
constexpr NSModalResponse NSModalResponseCancel = 0;
constexpr NSModalResponse NSModalResponseOK = 1;

/// A modal panel in which the user chooses files or folders. Main thread.
class NSOpenPanel {
  public:
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    /// The folder the panel opens in; none: the system's choice.
    const std::optional<platform::URL>& directoryURL() const { return directoryURL_; }
    void setDirectoryURL(std::optional<platform::URL> url) { directoryURL_ = std::move(url); }
    bool canChooseFiles() const { return canChooseFiles_; }
    void setCanChooseFiles(bool can) { canChooseFiles_ = can; }
    bool canChooseDirectories() const { return canChooseDirectories_; }
    void setCanChooseDirectories(bool can) { canChooseDirectories_ = can; }
    bool allowsMultipleSelection() const { return allowsMultipleSelection_; }
    void setAllowsMultipleSelection(bool allows) { allowsMultipleSelection_ = allows; }

    /// Shows the panel and waits for the user: `NSModalResponseOK` when something was chosen,
    /// `NSModalResponseCancel` when the user cancelled.
    NSModalResponse runModal();
    /// The first item chosen, or none (before a run, after a cancel).
    std::optional<platform::URL> URL() const;
    /// Every item chosen, in order.
    const std::vector<platform::URL>& URLs() const { return urls_; }

  private:
    std::string title_;
    std::optional<platform::URL> directoryURL_;
    bool canChooseFiles_ = true;
    bool canChooseDirectories_ = false;
    bool allowsMultipleSelection_ = false;
    std::vector<platform::URL> urls_;
};

/// What shows open panels and hands back the user's choice.
class OpenPanelBackend {
  public:
    virtual ~OpenPanelBackend() = default;
    /// The items the user chose in `panel` (one at most unless it allows several), or none
    /// when the user cancelled.
    virtual std::optional<std::vector<URL>> runModal(const NSOpenPanel& panel) = 0;
};

/// Installs the open-panel backend of the process.
void installOpenPanelBackend(std::shared_ptr<OpenPanelBackend> backend);

}  // namespace corvane::platform
