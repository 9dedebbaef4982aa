#pragma once

#include <optional>

#include "platform/appkit/RunningApplication.h"
#include "platform/foundation/NotificationCenter.h"

namespace corvane {

/// Tracks the frontmost application and the one before it, so that the status menu can name
/// the application the user was working in, also while this application is frontmost (its
/// settings window has focus). Main thread only; logs nothing.
class ActiveApp {
  public:
    /// The instance, created on first use (while the status menu is built), never destroyed.
    static ActiveApp& shared();

    /// The frontmost application as last seen.
    platform::RunningApplicationRef currentApp;
    /// The frontmost application before `currentApp`.
    platform::RunningApplicationRef previousApp;
    /// Declared for the menu's use; nothing sets or reads it.
    platform::RunningApplicationRef activeApp;
    /// The workspace activation observation.
    std::optional<platform::NotificationCenter::ObserverToken> observer;

    /// The application the status menu speaks of: `previousApp` while this application (the
    /// main bundle's identifier) is `currentApp`, else `currentApp`. Two missing identifiers
    /// count as equal.
    platform::RunningApplicationRef relevantApplication() const;

  private:
    ActiveApp();
    ~ActiveApp();
    /// Another application became frontmost: the workspace's frontmost application now (not
    /// the notification's) becomes current when its bundle identifier differs from the
    /// current one's.
    void applicationActivated();
};

}  // namespace corvane
