#include "platform/qt/QtFileManager.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <filesystem>

namespace corvane::platform::qt {

namespace fs = std::filesystem;

namespace {

bool fail(FileError* error, const std::string& path, const std::string& reason) {
    if (error != nullptr)
        *error = FileError{path, reason};
    return false;
}

}  // namespace

std::string QtFileManager::homeDirectory() const {
    return QDir::homePath().toStdString();
}

std::string QtFileManager::resolvingSymlinksInPath(const std::string& path) const {
    std::error_code code;
    const fs::path resolved = fs::weakly_canonical(path, code);
    return code ? path : resolved.string();
}

bool QtFileManager::fileExists(const std::string& path, bool* isDirectory) const {
    std::error_code code;
    const auto status = fs::status(path, code);
    if (isDirectory != nullptr)
        *isDirectory = fs::is_directory(status);
    return fs::exists(status);
}

bool QtFileManager::isWritable(const std::string& path) const {
    return ::access(path.c_str(), W_OK) == 0;
}

std::optional<std::vector<std::string>> QtFileManager::contentsOfDirectory(const std::string& path,
                                                                           FileError* error) const {
    std::error_code code;
    std::vector<std::string> names;
    for (fs::directory_iterator it(path, code), end; !code && it != end; it.increment(code))
        names.push_back(it->path().filename().string());
    if (code) {
        fail(error, path, code.message());
        return std::nullopt;
    }
    return names;
}

bool QtFileManager::trashItem(const std::string& path, std::string* trashedPath, FileError* error) {
    QString inTrash;
    if (!QFile::moveToTrash(QString::fromStdString(path), &inTrash))
        return fail(error, path, "cannot be moved to the Trash");
    if (trashedPath != nullptr)
        *trashedPath = inTrash.toStdString();
    return true;
}

bool QtFileManager::copyItem(const std::string& source, const std::string& destination,
                             FileError* error) {
    std::error_code code;
    if (fs::exists(fs::symlink_status(destination, code)))
        return fail(error, destination, "an item with that name already exists");
    fs::copy(source, destination, fs::copy_options::recursive | fs::copy_options::copy_symlinks,
             code);
    if (code) {
        std::error_code ignored;
        fs::remove_all(destination, ignored);
        return fail(error, destination, code.message());
    }
    return true;
}

bool QtFileManager::removeItem(const std::string& path, FileError* error) {
    std::error_code code;
    if (!fs::exists(fs::symlink_status(path, code)))
        return fail(error, path, "no such file or directory");
    fs::remove_all(path, code);
    return code ? fail(error, path, code.message()) : true;
}

}  // namespace corvane::platform::qt
