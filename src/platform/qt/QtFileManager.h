#pragma once

#include "platform/foundation/FileManager.h"

namespace corvane::platform::qt {

/// The live application's file operations on the real file system; the Trash is the
/// desktop's (the freedesktop.org Trash, through Qt).
class QtFileManager final : public FileManagerBackend {
  public:
    std::string homeDirectory() const override;
    std::string resolvingSymlinksInPath(const std::string& path) const override;
    bool fileExists(const std::string& path, bool* isDirectory) const override;
    bool isWritable(const std::string& path) const override;
    std::optional<std::vector<std::string>> contentsOfDirectory(const std::string& path,
                                                                FileError* error) const override;
    bool trashItem(const std::string& path, std::string* trashedPath, FileError* error) override;
    bool copyItem(const std::string& source, const std::string& destination,
                  FileError* error) override;
    bool removeItem(const std::string& path, FileError* error) override;
};

}  // namespace corvane::platform::qt
