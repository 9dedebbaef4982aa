#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/URL.h"

namespace corvane::platform {

/// The standard directories that the search-path calls know.
enum class SearchPathDirectory { applicationDirectory };

/// The domains a standard directory is looked up in; `allDomainsMask` lists them in the
/// system's order: the user's, the local machine's, the network's, the system's.
enum class SearchPathDomainMask { userDomainMask, localDomainMask, allDomainsMask };

/// The paths of `directory` in `domains`, in the system's order; with `expandTilde` the
/// user domain's path begins with the home folder instead of "~".
std::vector<std::string> NSSearchPathForDirectoriesInDomains(SearchPathDirectory directory,
                                                             SearchPathDomainMask domains,
                                                             bool expandTilde);

/// The user's home folder ("/Users/user" in the simulated session).
std::string NSHomeDirectory();

/// What a failed file operation says: the path it failed on and why.
struct FileError {
    std::string path;
    std::string reason;
};

/// The file operations the application needs on the installed backend's file system. Every
/// path is absolute. Main thread.
class FileManager {
  public:
    /// The process's file manager, created on first use, never destroyed.
    static FileManager& defaultManager();

    /// The file URLs of `directory` in `domains`, tilde expanded, in the system's order.
    std::vector<URL> URLsForDirectory(SearchPathDirectory directory,
                                      SearchPathDomainMask domains) const;

    /// Whether something exists at `path` (a symbolic link is followed); `isDirectory`, when
    /// given, is set to whether it is a directory.
    bool fileExistsAtPath(const std::string& path, bool* isDirectory = nullptr) const;
    /// Whether this process may write to what is at `path` (for a directory: add and remove
    /// entries). False when nothing is there.
    bool isWritableFileAtPath(const std::string& path) const;
    /// The names of the entries of the directory at `path` (hidden ones included, "." and
    /// ".." not), in no particular order; none with `error` set when it cannot be read.
    std::optional<std::vector<std::string>> contentsOfDirectoryAtPath(
        const std::string& path, FileError* error = nullptr) const;

    /// Moves the item at `url` (a link itself, not what it points to) to the user's Trash;
    /// `resultingItemURL`, when given, is set to where it went. False, with `error` set, when
    /// it could not be moved.
    bool trashItemAtURL(const URL& url, std::optional<URL>* resultingItemURL,
                        FileError* error = nullptr);
    /// Copies the item at `source` to `destination` as a whole (a directory with everything
    /// in it, links as links, permissions kept). Fails when something exists at
    /// `destination` already.
    bool copyItemAtURL(const URL& source, const URL& destination, FileError* error = nullptr);
    /// Removes the item at `url` with everything in it (a link itself, not its target).
    bool removeItemAtURL(const URL& url, FileError* error = nullptr);

  private:
    FileManager() = default;
};

/// Where the file operations really happen: the simulated session keeps its files in a
/// folder of its own, the live application works on the real file system.
class FileManagerBackend {
  public:
    virtual ~FileManagerBackend() = default;
    virtual std::string homeDirectory() const = 0;
    /// `path` with every symbolic link among its existing components resolved; the
    /// components from the first missing one on are kept as they are.
    virtual std::string resolvingSymlinksInPath(const std::string& path) const = 0;
    virtual bool fileExists(const std::string& path, bool* isDirectory) const = 0;
    virtual bool isWritable(const std::string& path) const = 0;
    virtual std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path,
                                                                        FileError* error) const = 0;
    /// Moves `path` to the Trash; sets `trashedPath` to where it went.
    virtual bool trashItem(const std::string& path, std::string* trashedPath, FileError* error) = 0;
    virtual bool copyItem(const std::string& source, const std::string& destination,
                          FileError* error) = 0;
    virtual bool removeItem(const std::string& path, FileError* error) = 0;
};

/// Installs the file-manager backend of the process.
void installFileManagerBackend(std::shared_ptr<FileManagerBackend> backend);
/// The installed file-manager backend.
FileManagerBackend& fileManagerBackend();

}  // namespace corvane::platform
