#pragma once

#include <map>
#include <memory>

#include "platform/appkit/NSStatusBar.h"
#include "platform/appkit/StatusBarBackend.h"

class QMenu;
class QSystemTrayIcon;

namespace corvane::platform::qt {

/// The live application's status bar: each status item is an icon in the desktop's system
/// tray, its menu a Qt menu filled from the item's menu each time it opens (on a click or
/// the context click). Where the desktop has no tray the items are kept but not shown.
class TrayStatusBar final : public StatusBarBackend {
  public:
    TrayStatusBar();
    ~TrayStatusBar() override;

    bool providesButtons() const override { return true; }
    void itemAdded(const std::shared_ptr<NSStatusItem>& item) override;
    void itemChanged(NSStatusItem& item) override;
    void itemRemoved(NSStatusItem& item) override;

  private:
    struct Tray;
    std::map<NSStatusItem*, std::unique_ptr<Tray>> trays_;
};

/// Shows the status items as icons in the desktop's system tray and draws their images with
/// Qt: installs the status bar's and the images' backends of the live application. Call on
/// the main thread, after the live session is set up.
void installTrayStatusBar();

}  // namespace corvane::platform::qt
