#include "platform/live/FileDefaultsStore.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/live/FileReplacement.h"
#include "platform/live/RegularFileReading.h"
#include "platform/log/OSLog.h"

namespace corvane::platform::live {

namespace {

namespace fs = std::filesystem;

const OSLog& storeLogger() {
    static const auto* logger = new OSLog("UserDefaults", "file");
    return *logger;
}

}  // namespace

PlistDictionary FileDefaultsStore::load() {
    removeStaleReplacements(path_);
    unreadable_.clear();
    keepBeforeWrite_ = false;
    // A FIFO put in the file's place is not read, so it cannot hang the start.
    const RegularFileText file = readRegularFile(path_, kMaxFileBytes);
    if (!file.exists)
        return {};
    std::optional<DefaultsFile> parsed;
    if (file.text)
        parsed = DefaultsFile::parse(*file.text);
    if (!parsed) {
        // Start empty; the file stays as it is until the first write, which keeps a copy.
        keepBeforeWrite_ = true;
        return {};
    }
    unreadable_ = std::move(parsed->unreadable);
    return std::move(parsed->values);
}

bool FileDefaultsStore::persist(const PlistDictionary& domain) {
    const auto text = DefaultsFile{domain, unreadable_}.text();
    if (!text)
        return false;
    if (keepBeforeWrite_) {
        if (!keepUnreadableFile())
            return false;
        keepBeforeWrite_ = false;
    }
    return replaceFile(*text);
}

bool FileDefaultsStore::keepUnreadableFile() const {
    for (int n = 0; n < 100; ++n) {
        const std::string copy = path_ + ".unreadable" + (n == 0 ? "" : "." + std::to_string(n));
        std::error_code ec;
        if (fs::copy_file(path_, copy, fs::copy_options::none, ec)) {
            storeLogger().log(
                "UserDefaults: %{public}s could not be read; it is kept as %{public}s", path_,
                copy);
            return true;
        }
        if (!fs::exists(path_, ec))
            return true;  // gone meanwhile: nothing to keep
        if (!fs::exists(copy, ec))
            break;  // not a name clash: the copy cannot be made
    }
    if (!reportedKeepFailure_) {
        storeLogger().error(
            "UserDefaults: %{public}s could not be read nor kept; it is not replaced", path_);
        reportedKeepFailure_ = true;
    }
    return false;
}

bool FileDefaultsStore::replaceFile(const std::string& text) const {
    const fs::path target(path_);
    std::error_code error;
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), error);
        if (error) {
            reportWriteFailure("the folder " + target.parent_path().string() + " cannot be made (" +
                               error.message() + ")");
            return false;
        }
    }
    error = replaceFileAtomically(target, text);
    if (error) {
        reportWriteFailure(error.message());
        return false;
    }
    return true;
}

void FileDefaultsStore::reportWriteFailure(const std::string& reason) const {
    if (reportedWriteFailure_)
        return;
    storeLogger().error("UserDefaults: %{public}s cannot be saved: %{public}s", path_, reason);
    reportedWriteFailure_ = true;
}

std::string FileDefaultsStore::defaultPath(const std::string& domain) {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = std::string(home) + "/.config";
    } else {
        base = ".";
    }
    return base + "/corvane/" + domain + ".plist.json";
}

}  // namespace corvane::platform::live
