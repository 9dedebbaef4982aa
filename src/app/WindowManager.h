#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/appkit/NSViewController.h"
#include "platform/appkit/NSWindow.h"
#include "platform/dispatch/DispatchPrecondition.h"
#include "platform/ui/View.h"

namespace corvane {

/// Posted on the default notification centre whenever a registered window opens or closes.
inline const std::string kWindowStateChangedNotification = "windowStateChanged";

/// The registry of the application's windows by identifier ("permission", "preferences",
/// "about"). Opening an identifier that is open only brings its window to the front. Main
/// thread only.
class WindowManager {
  public:
    /// The instance, created on first use (logging "Module initialized: WindowManager"),
    /// never destroyed.
    static WindowManager& shared();

    /// The open windows by identifier.
    const std::map<std::string, std::shared_ptr<platform::NSWindow>>& windows() const {
        CORVANE_ASSERT_MAIN_THREAD();
        return windows_;
    }
    /// The window open under `identifier`, or null.
    std::shared_ptr<platform::NSWindow> window(const std::string& identifier) const;
    /// Forgets `identifier` (its window, if any, is left as it is).
    void removeWindow(const std::string& identifier);

    /// Opens a window showing `contentViewController`'s view, sized to it, centred, key and
    /// in front; or brings the window open under `identifier` to the front.
    void openWindow(const std::string& identifier, const std::string& title,
                    std::shared_ptr<platform::NSViewController> contentViewController,
                    platform::NSWindowLevel level, platform::NSWindowStyleMask styleMask);
    /// Opens a window hosting the declarative `view` with a transparent title bar, sized to
    /// the view's own size, centred, key and in front; or brings the window open under
    /// `identifier` to the front.
    void openWindow(const std::string& identifier, const std::string& title,
                    platform::ui::View view, platform::NSWindowLevel level,
                    platform::NSWindowStyleMask styleMask);
    /// Closes every registered window (each close posts "windowStateChanged") and empties
    /// the registry.
    void closeAll();

  private:
    WindowManager();
    /// Brings an open window forward; false when `identifier` is not open.
    bool bringToFront(const std::string& identifier);
    /// Shows the new window and registers it: close observer, registry, notification.
    void present(const std::string& identifier, const std::shared_ptr<platform::NSWindow>& window);

    std::map<std::string, std::shared_ptr<platform::NSWindow>> windows_;
};

}  // namespace corvane
