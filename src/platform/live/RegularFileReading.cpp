#include "platform/live/RegularFileReading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace corvane::platform::live {

RegularFileText readRegularFile(const std::string& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return {errno != ENOENT && errno != ENOTDIR, std::nullopt, false};
    RegularFileText result{true, std::nullopt, false};
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        result.regular = true;
        std::string text;
        char chunk[1 << 16];
        ssize_t n = 0;
        while (text.size() <= maxBytes) {
            n = ::read(fd, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            text.append(chunk, static_cast<std::size_t>(n));
        }
        if (n >= 0 && text.size() <= maxBytes)
            result.text = std::move(text);
    }
    ::close(fd);
    return result;
}

}  // namespace corvane::platform::live
