#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/URL.h"

namespace corvane {

/// Moving the application into an Applications folder. Never instantiated; every operation
/// is static, keeps no state and runs on the main thread (the termination handlers of the
/// child processes excepted).
class AppMover {
  public:
    AppMover() = delete;

    /// What `authorizedInstall` reports.
    struct InstallResult {
        bool cancelled = false;  ///< the user cancelled the password prompt
        bool success = false;

        bool operator==(const InstallResult&) const = default;
    };

    /// Offers, once per launch, to move the application into the most used Applications
    /// folder when it was launched from elsewhere; on consent copies it there, removes the
    /// bundle it was launched from and relaunches from the new place. A cancelled password
    /// prompt offers again, as often as it is cancelled. A bundle path without a name ("/",
    /// "", or ending in "." or "..") is refused on consent with nothing touched: where a
    /// password is needed the application terminates, as on a refused authorized install;
    /// elsewhere the move is abandoned, as on a failed copy, and the application goes on.
    static void moveToApplicationsIfNeeded();

    /// Whether `bundle` lies in an Applications folder: under one of the application
    /// directories, or in any folder named "Applications".
    static bool isInstalled(const platform::Bundle& bundle);
    /// The existing application directory (links resolved, "/System/Applications" never)
    /// with the most entries; on a tie the latest in the system's order. None when there is
    /// no such directory.
    static std::optional<platform::URL> preferredInstallDirectory();
    /// The number of entries of the directory at `url`; 0 when it cannot be read.
    static int directoryEntryCount(const platform::URL& url);
    /// Whether a running application's bundle lies at `url` (both standardized).
    static bool isApplicationRunning(const platform::URL& url);
    /// Replaces `destination` by a copy of `source` through a shell command run with
    /// administrator privileges (the user is asked for the password).
    static InstallResult authorizedInstall(const platform::URL& source,
                                           const platform::URL& destination);
    /// Clears the quarantine attribute of the bundle at `path`, then starts a background
    /// shell that opens `path` once this process has gone, then calls `completion` (on the
    /// thread of the task machinery).
    static void relaunch(const std::string& path, std::function<void()> completion);
    /// Starts `launchPath` with `arguments` and returns at once; `terminationHandler`, when
    /// given, runs with the exit status on a thread of its own once the child has ended.
    static void runTask(const std::string& launchPath, const std::vector<std::string>& arguments,
                        std::function<void(int)> terminationHandler);
};

}  // namespace corvane
