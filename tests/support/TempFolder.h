#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>

namespace corvane::testing {

/// A real folder of the test's own under the temporary directory, removed with everything in
/// it when the object goes. Tests touch real files only inside it.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    /// The path of `name` inside the folder.
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return std::filesystem::path(path_) / name;
    }

    /// Every file, folder and link below the folder as "relative/path" (a file with its
    /// contents after " = ", a link with its target after " -> "), sorted.
    std::set<std::string> tree() const {
        namespace fs = std::filesystem;
        std::set<std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(path_)) {
            std::string line = fs::relative(entry.path(), path_).string();
            if (entry.is_symlink()) {
                line += " -> " + fs::read_symlink(entry.path()).string();
            } else if (entry.is_regular_file()) {
                std::ifstream file(entry.path(), std::ios::binary);
                std::stringstream contents;
                contents << file.rdbuf();
                line += " = " + contents.str();
            }
            entries.insert(line);
        }
        return entries;
    }

  private:
    std::string path_;
};

/// The contents of the file at `path`, or none when it cannot be read.
inline std::optional<std::string> readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::stringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

}  // namespace corvane::testing
