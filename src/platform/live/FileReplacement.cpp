#include "platform/live/FileReplacement.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

namespace corvane::platform::live {

namespace {

namespace fs = std::filesystem;

/// Tries with fresh names before giving up on a folder whose names are all taken.
constexpr int kNameAttempts = 8;

/// "<name>.tmp.": the start of every temporary file name of a replacement of `path`.
std::string temporaryPrefix(const fs::path& path) {
    return path.filename().string() + ".tmp.";
}

/// 16 hex digits from the system's random source.
std::string unpredictableSuffix() {
    static std::random_device device;
    const std::uint64_t n = (std::uint64_t{device()} << 32) | device();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(n));
    return text;
}

std::error_code lastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

/// Writes all of `text` to `fd`; the error, or none.
std::error_code writeAll(int fd, std::string_view text) {
    std::size_t written = 0;
    while (written < text.size()) {
        errno = 0;
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return lastError();
        written += static_cast<std::size_t>(n);
    }
    return {};
}

}  // namespace

std::error_code replaceFileAtomically(const fs::path& path, std::string_view text, unsigned mode) {
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        temporary = (folder / (temporaryPrefix(path) + unpredictableSuffix())).string();
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    static_cast<mode_t>(mode));
        if (fd < 0 && errno != EEXIST)
            return lastError();
    }
    if (fd < 0)
        return std::make_error_code(std::errc::file_exists);

    std::error_code error = writeAll(fd, text);
    if (!error && ::fsync(fd) != 0)
        error = lastError();
    if (::close(fd) != 0 && !error)
        error = lastError();
    if (!error && std::rename(temporary.c_str(), path.c_str()) != 0)
        error = lastError();
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

void removeStaleReplacements(const fs::path& path) {
    const std::string prefix = temporaryPrefix(path);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().filename().string().starts_with(prefix)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

}  // namespace corvane::platform::live
