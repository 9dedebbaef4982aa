#include "platform/sim/SimFileSystem.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "platform/foundation/URL.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform::sim {

namespace fs = std::filesystem;

namespace {

/// The folder this process made for the session's files, until it is removed.
std::mutex madeFolderMutex;
std::string madeFolder;

/// How many links one path may pass through before it counts as a loop (the system's limit).
constexpr int kMaxLinks = 40;
/// The reason given for a path whose links go round in circles.
constexpr const char* kLinkLoop = "too many levels of symbolic links";

std::deque<std::string> components(const std::string& path) {
    std::deque<std::string> parts;
    std::size_t begin = 0;
    while (begin <= path.size()) {
        const std::size_t slash = std::min(path.find('/', begin), path.size());
        if (slash > begin)
            parts.push_back(path.substr(begin, slash - begin));
        begin = slash + 1;
    }
    return parts;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string path;
    for (const auto& part : parts)
        path += "/" + part;
    return path.empty() ? "/" : path;
}

std::string parentOf(const std::string& sessionPath) {
    const std::size_t slash = sessionPath.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : sessionPath.substr(0, slash);
}

bool fail(FileError* error, const std::string& path, const std::string& reason) {
    if (error != nullptr)
        *error = FileError{path, reason};
    return false;
}

/// "2026-01-01T00:00:00": the session's wall clock, in UTC so that runs read the same.
std::string deletionDate() {
    const auto seconds = static_cast<std::time_t>(runtime().wallTime());
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    return text;
}

/// "Corvane.app", then "Corvane 2.app", "Corvane 3.app", ...
std::string trashName(const std::string& name, int attempt) {
    if (attempt == 1)
        return name;
    const std::size_t dot = name.rfind('.');
    const std::size_t stemEnd = dot == std::string::npos || dot == 0 ? name.size() : dot;
    return name.substr(0, stemEnd) + " " + std::to_string(attempt) + name.substr(stemEnd);
}

}  // namespace

std::string FileSystem::root() const {
    std::lock_guard lock(mutex_);
    return rootLocked();
}

std::string FileSystem::rootLocked() const {
    if (!root_.empty())
        return root_;
    std::error_code code;
    std::string pattern = (fs::temp_directory_path(code) / "corvane-session-XXXXXX").string();
    if (code || mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error(
            "the simulated session cannot make its folder for files: " +
            (code ? code : std::error_code(errno, std::generic_category())).message());
    }
    {
        std::lock_guard lock(madeFolderMutex);
        madeFolder = pattern;
    }
    std::atexit(&FileSystem::removeMadeFolder);
    const std::string files = pattern + "/files";
    if (::mkdir(files.c_str(), 0700) != 0) {
        throw std::runtime_error("the simulated session cannot make its folder for files: " +
                                 std::error_code(errno, std::generic_category()).message());
    }
    madeFolder_ = pattern;
    root_ = files;
    return root_;
}

std::optional<std::string> FileSystem::privateFolder(const std::string& name) const {
    std::lock_guard lock(mutex_);
    try {
        rootLocked();
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
    if (madeFolder_.empty())
        return std::nullopt;
    const std::string folder = madeFolder_ + "/" + name;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;
    return folder;
}

void FileSystem::removeMadeFolder() {
    std::lock_guard lock(madeFolderMutex);
    if (madeFolder.empty())
        return;
    std::error_code ignored;
    fs::remove_all(madeFolder, ignored);
    madeFolder.clear();
}

void FileSystem::setRoot(std::string folder) {
    std::lock_guard lock(mutex_);
    root_ = std::move(folder);
}

std::optional<std::string> FileSystem::realPath(const std::string& path, bool followLast) const {
    std::lock_guard lock(mutex_);
    return realPathLocked(path, followLast, nullptr);
}

std::optional<std::string> FileSystem::realPathLocked(const std::string& path, bool followLast,
                                                      std::string* sessionPath) const {
    const std::string root = rootLocked();
    std::deque<std::string> todo = components(path);
    std::vector<std::string> done;
    int links = 0;
    while (!todo.empty()) {
        std::string part = std::move(todo.front());
        todo.pop_front();
        if (part == ".")
            continue;
        if (part == "..") {
            if (!done.empty())
                done.pop_back();
            continue;
        }
        done.push_back(std::move(part));
        if (todo.empty() && !followLast)
            break;
        const std::string real = root + joined(done);
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(real, error)))
            continue;
        if (++links > kMaxLinks)
            return std::nullopt;
        const std::string target = fs::read_symlink(real, error).string();
        done.pop_back();
        if (target.starts_with("/"))
            done.clear();
        auto targetParts = components(target);
        todo.insert(todo.begin(), targetParts.begin(), targetParts.end());
    }
    if (sessionPath != nullptr)
        *sessionPath = joined(done);
    return root + joined(done);
}

std::string FileSystem::resolvingSymlinksInPath(const std::string& path) const {
    std::lock_guard lock(mutex_);
    std::string session;
    return realPathLocked(path, true, &session) ? session : path;
}

bool FileSystem::fileExists(const std::string& path, bool* isDirectory) const {
    std::lock_guard lock(mutex_);
    const auto real = realPathLocked(path, true, nullptr);
    std::error_code error;
    const auto status = real ? fs::status(*real, error) : fs::file_status();
    if (isDirectory != nullptr)
        *isDirectory = fs::is_directory(status);
    return fs::exists(status);
}

bool FileSystem::isWritable(const std::string& path) const {
    std::lock_guard lock(mutex_);
    std::string session;
    const auto real = realPathLocked(path, true, &session);
    std::error_code error;
    return real && fs::exists(*real, error) && writableLocked(session);
}

bool FileSystem::writableLocked(const std::string& sessionPath) const {
    return !notWritable_.contains(sessionPath);
}

std::optional<std::vector<std::string>> FileSystem::contentsOfDirectory(const std::string& path,
                                                                        FileError* error) const {
    std::lock_guard lock(mutex_);
    const auto real = realPathLocked(path, true, nullptr);
    if (!real) {
        fail(error, path, kLinkLoop);
        return std::nullopt;
    }
    std::error_code code;
    std::vector<std::string> names;
    for (fs::directory_iterator it(*real, code), end; !code && it != end; it.increment(code))
        names.push_back(it->path().filename().string());
    if (code) {
        fail(error, path, code.message());
        return std::nullopt;
    }
    return names;
}

std::optional<std::string> FileSystem::removableLocked(const std::string& path,
                                                       FaultCount& failures,
                                                       std::string* sessionPath, FileError* error) {
    const auto real = realPathLocked(path, false, sessionPath);
    std::error_code code;
    if (!real || !fs::exists(fs::symlink_status(*real, code))) {
        fail(error, path, "no such file or directory");
        return std::nullopt;
    }
    if (failures.take() || !writableLocked(parentOf(*sessionPath))) {
        fail(error, path, "permission denied");
        return std::nullopt;
    }
    return real;
}

bool FileSystem::trashItem(const std::string& path, std::string* trashedPath, FileError* error) {
    std::lock_guard lock(mutex_);
    std::string session;
    const auto real = removableLocked(path, failTrash_, &session, error);
    if (!real)
        return false;
    // The item goes into the Trash's `files/` and its record into `info/`, both made in the
    // Trash when missing: any of the three set not writable refuses it.
    for (const char* folder : {"", "/files", "/info"}) {
        std::string trashFolder;
        if (!realPathLocked(std::string(kTrashDirectory) + folder, true, &trashFolder) ||
            !writableLocked(trashFolder))
            return fail(error, path, "the Trash cannot be written");
    }
    std::error_code code;

    const std::string trash = rootLocked() + kTrashDirectory;
    fs::create_directories(trash + "/files", code);
    fs::create_directories(trash + "/info", code);
    const std::string name = fs::path(session).filename().string();
    // The ".trashinfo" file is made first, exclusively: it claims the name in the Trash.
    for (int attempt = 1; attempt < 10000; ++attempt) {
        const std::string candidate = trashName(name, attempt);
        const std::string info = trash + "/info/" + candidate + ".trashinfo";
        std::FILE* file = std::fopen(info.c_str(), "wx");
        if (file == nullptr) {
            if (errno == EEXIST)
                continue;
            return fail(error, path, "the Trash cannot be written");
        }
        const std::string encoded = URL::fileURLWithPath(session).absoluteString().substr(7);
        std::fprintf(file, "[Trash Info]\nPath=%s\nDeletionDate=%s\n", encoded.c_str(),
                     deletionDate().c_str());
        std::fclose(file);
        fs::rename(*real, trash + "/files/" + candidate, code);
        if (code) {
            fs::remove(info, code);
            return fail(error, path, "cannot be moved to the Trash");
        }
        if (trashedPath != nullptr)
            *trashedPath = std::string(kTrashDirectory) + "/files/" + candidate;
        return true;
    }
    return fail(error, path, "the Trash holds too many items of that name");
}

bool FileSystem::copyItem(const std::string& source, const std::string& destination,
                          FileError* error) {
    std::lock_guard lock(mutex_);
    std::string destinationSession;
    const auto from = realPathLocked(source, true, nullptr);
    const auto to = realPathLocked(destination, false, &destinationSession);
    std::error_code code;
    if (!from || !fs::exists(*from, code))
        return fail(error, source, "no such file or directory");
    if (!to || fs::exists(fs::symlink_status(*to, code)))
        return fail(error, destination, "an item with that name already exists");
    if (failCopy_.take() || !writableLocked(parentOf(destinationSession)))
        return fail(error, destination, "permission denied");
    fs::copy(*from, *to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, code);
    if (code) {
        fs::remove_all(*to, code);
        return fail(error, destination, "the copy failed");
    }
    return true;
}

bool FileSystem::removeItem(const std::string& path, FileError* error) {
    std::lock_guard lock(mutex_);
    std::string session;
    const auto real = removableLocked(path, failRemove_, &session, error);
    if (!real)
        return false;
    std::error_code code;
    fs::remove_all(*real, code);
    return code ? fail(error, path, code.message()) : true;
}

bool FileSystem::makeDirectory(const std::string& path, FileError* error) {
    std::lock_guard lock(mutex_);
    const auto real = realPathLocked(path, true, nullptr);
    if (!real)
        return fail(error, path, kLinkLoop);
    std::error_code code;
    fs::create_directories(*real, code);
    return code ? fail(error, path, code.message()) : true;
}

bool FileSystem::writeFile(const std::string& path, const std::string& contents, FileError* error) {
    std::lock_guard lock(mutex_);
    const auto real = realPathLocked(path, true, nullptr);
    if (!real)
        return fail(error, path, kLinkLoop);
    std::error_code code;
    fs::create_directories(fs::path(*real).parent_path(), code);
    if (code)
        return fail(error, path, code.message());
    std::ofstream file(*real, std::ios::binary);
    file << contents;
    file.flush();
    return file ? true : fail(error, path, "cannot be written");
}

bool FileSystem::makeSymlink(const std::string& path, const std::string& target, FileError* error) {
    std::lock_guard lock(mutex_);
    const auto real = realPathLocked(path, false, nullptr);
    if (!real)
        return fail(error, path, kLinkLoop);
    std::error_code code;
    fs::create_directories(fs::path(*real).parent_path(), code);
    if (!code)
        fs::create_symlink(target, *real, code);
    return code ? fail(error, path, code.message()) : true;
}

void FileSystem::setWritable(const std::string& path, bool writable) {
    std::lock_guard lock(mutex_);
    std::string session;
    (void)realPathLocked(path, true, &session);
    if (writable)
        notWritable_.erase(session);
    else
        notWritable_.insert(session);
}

void FileSystem::failNextTrash(int count) {
    failTrash_.set(count);
}

void FileSystem::failNextCopy(int count) {
    failCopy_.set(count);
}

void FileSystem::failNextRemove(int count) {
    failRemove_.set(count);
}

std::vector<std::string> FileSystem::trashedPaths() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> paths;
    std::error_code code;
    const std::string info = rootLocked() + kTrashDirectory + "/info";
    for (fs::directory_iterator it(info, code), end; !code && it != end; it.increment(code)) {
        std::ifstream file(it->path());
        for (std::string line; std::getline(file, line);) {
            if (line.starts_with("Path="))
                paths.push_back(URL::fromString("file://" + line.substr(5))->path());
        }
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

}  // namespace corvane::platform::sim
