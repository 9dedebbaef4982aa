#pragma once

#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/foundation/FileManager.h"
#include "platform/sim/FaultCount.h"

namespace corvane::platform::sim {

/// The simulated session's files: real files and folders under a root folder of the session
/// ("files" in a temporary folder made on first use and removed when the process exits, or a
/// folder a test sets), so that copies, removals and the Trash are tested on real files. The
/// application sees session paths ("/Applications", "/Users/user/Downloads/Corvane.app"): each one
/// lies at the same place under the root. Symbolic links are resolved within the session, so an
/// absolute link target is a session path too and nothing outside the root is ever reached.
/// The Trash follows the desktop's convention (the freedesktop.org Trash: `files/` and
/// `info/` with one ".trashinfo" per item) in the home folder's ".local/share/Trash".
///
/// The process runs with whatever rights it has (perhaps as the superuser), so what is not
/// writable is the session's knob: a folder set not writable refuses new and removed entries.
class FileSystem final : public FileManagerBackend {
  public:
    /// The user's home folder in the session.
    static constexpr const char* kHomeDirectory = "/Users/user";
    /// The Trash's folder in the session.
    static constexpr const char* kTrashDirectory = "/Users/user/.local/share/Trash";

    /// The real folder that holds the session's "/" (made on first use).
    std::string root() const;
    /// The knob: keep the session's files in `folder` (an existing real folder that the
    /// caller made and removes). Call before the first file operation.
    void setRoot(std::string folder);
    /// Removes, with everything in it, the folder made for the session's files when none was
    /// given (as happens when the process exits). Any thread.
    static void removeMadeFolder();
    /// A folder of the process's own beside the session's files, in the folder made for them
    /// (so removed with it), made on first use, readable by the user alone; none when it cannot
    /// be made or the session's files are in a folder a test gave.
    std::optional<std::string> privateFolder(const std::string& name) const;

    std::string homeDirectory() const override { return kHomeDirectory; }
    /// The real path of session path `path`, every symbolic link on the way resolved (the
    /// last component's too when `followLast`); none when the links go round in circles.
    std::optional<std::string> realPath(const std::string& path, bool followLast = true) const;

    // FileManagerBackend
    std::string resolvingSymlinksInPath(const std::string& path) const override;
    bool fileExists(const std::string& path, bool* isDirectory) const override;
    bool isWritable(const std::string& path) const override;
    std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path,
                                                                FileError* error) const override;
    bool trashItem(const std::string& path, std::string* trashedPath, FileError* error) override;
    bool copyItem(const std::string& source, const std::string& destination,
                  FileError* error) override;
    bool removeItem(const std::string& path, FileError* error) override;

    // Setting the session's files up. Each answers false, with `error` set to the path and
    // the file system's reason, when the item cannot be made (a name or a path longer than
    // the file system allows, a file in the way, links that go round in circles).

    /// Makes the folder at `path` with its missing parents.
    bool makeDirectory(const std::string& path, FileError* error = nullptr);
    /// Writes a file at `path` (its folder made when missing).
    bool writeFile(const std::string& path, const std::string& contents,
                   FileError* error = nullptr);
    /// Makes a symbolic link at `path` whose target is `target` (a session path, or one
    /// relative to the link's folder).
    bool makeSymlink(const std::string& path, const std::string& target,
                     FileError* error = nullptr);
    /// Marks the folder or file at `path` (a session path, links resolved) writable or not.
    void setWritable(const std::string& path, bool writable);

    // Fault knobs.

    /// The next `count` moves to the Trash fail.
    void failNextTrash(int count);
    /// The next `count` copies fail, leaving nothing at the destination.
    void failNextCopy(int count);
    /// The next `count` removals fail, leaving the item in place.
    void failNextRemove(int count);

    /// What is in the Trash: the original session path of every item, from its ".trashinfo",
    /// sorted.
    std::vector<std::string> trashedPaths() const;

  private:
    std::string rootLocked() const;
    std::optional<std::string> realPathLocked(const std::string& path, bool followLast,
                                              std::string* sessionPath) const;
    bool writableLocked(const std::string& sessionPath) const;
    /// The real path of an item that may be removed from its folder (it exists, the folder
    /// is writable, no failure is due by `failures`); none with `error` set otherwise.
    std::optional<std::string> removableLocked(const std::string& path, FaultCount& failures,
                                               std::string* sessionPath, FileError* error);

    mutable std::mutex mutex_;
    mutable std::string root_;           // made on first use
    mutable std::string madeFolder_;     // what holds root_ when this made it
    std::set<std::string> notWritable_;  // session paths, links resolved
    FaultCount failTrash_;
    FaultCount failCopy_;
    FaultCount failRemove_;
};

}  // namespace corvane::platform::sim
