#include "platform/foundation/FileManager.h"

#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<FileManagerBackend>& slot() {
    return backendSlot<FileManagerBackend>("file manager");
}

}  // namespace

void installFileManagerBackend(std::shared_ptr<FileManagerBackend> backend) {
    slot().install(std::move(backend));
}

FileManagerBackend& fileManagerBackend() {
    return slot().get();
}

std::string NSHomeDirectory() {
    return fileManagerBackend().homeDirectory();
}

std::vector<std::string> NSSearchPathForDirectoriesInDomains(SearchPathDirectory,
                                                             SearchPathDomainMask domains,
                                                             bool expandTilde) {
    const std::string user = (expandTilde ? NSHomeDirectory() : std::string("~")) + "/Applications";
    switch (domains) {
        case SearchPathDomainMask::userDomainMask:
            return {user};
        case SearchPathDomainMask::localDomainMask:
            return {"/Applications"};
        case SearchPathDomainMask::allDomainsMask:
            break;
    }
    return {user, "/Applications", "/Network/Applications", "/System/Applications"};
}

FileManager& FileManager::defaultManager() {
    static auto* manager = new FileManager();
    return *manager;
}

std::vector<URL> FileManager::URLsForDirectory(SearchPathDirectory directory,
                                               SearchPathDomainMask domains) const {
    std::vector<URL> urls;
    for (auto& path : NSSearchPathForDirectoriesInDomains(directory, domains, true))
        urls.push_back(URL::fileURLWithPath(std::move(path)));
    return urls;
}

bool FileManager::fileExistsAtPath(const std::string& path, bool* isDirectory) const {
    bool directory = false;
    const bool exists = fileManagerBackend().fileExists(path, &directory);
    if (isDirectory != nullptr)
        *isDirectory = exists && directory;
    return exists;
}

bool FileManager::isWritableFileAtPath(const std::string& path) const {
    return fileManagerBackend().isWritable(path);
}

std::optional<std::vector<std::string>> FileManager::contentsOfDirectoryAtPath(
    const std::string& path, FileError* error) const {
    return fileManagerBackend().contentsOfDirectory(path, error);
}

bool FileManager::trashItemAtURL(const URL& url, std::optional<URL>* resultingItemURL,
                                 FileError* error) {
    std::string trashed;
    if (!fileManagerBackend().trashItem(url.path(), &trashed, error))
        return false;
    if (resultingItemURL != nullptr)
        *resultingItemURL = URL::fileURLWithPath(trashed);
    return true;
}

bool FileManager::copyItemAtURL(const URL& source, const URL& destination, FileError* error) {
    return fileManagerBackend().copyItem(source.path(), destination.path(), error);
}

bool FileManager::removeItemAtURL(const URL& url, FileError* error) {
    return fileManagerBackend().removeItem(url.path(), error);
}

}  // namespace corvane::platform
