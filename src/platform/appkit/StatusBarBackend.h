#pragma once

#include <memory>

namespace corvane::platform {

class NSStatusItem;

/// Shows status items in the menu bar: the simulated session's model of the bar
/// (`sim::SimStatusBar`) or the desktop's system tray.
class StatusBarBackend {
  public:
    virtual ~StatusBarBackend() = default;
    /// Whether a new item gets a button.
    virtual bool providesButtons() const = 0;
    /// A new item joins the bar; the bar keeps it until it is removed.
    virtual void itemAdded(const std::shared_ptr<NSStatusItem>& item) = 0;
    /// The item's visibility, its button's image or its menu changed.
    virtual void itemChanged(NSStatusItem& item) = 0;
    /// The item leaves the bar.
    virtual void itemRemoved(NSStatusItem& item) = 0;
};

/// Installs the status bar's backend of the process.
void installStatusBarBackend(std::shared_ptr<StatusBarBackend> backend);

}  // namespace corvane::platform
