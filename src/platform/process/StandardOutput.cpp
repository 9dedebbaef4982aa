#include "platform/process/StandardOutput.h"

#include <cstdio>

namespace corvane::platform {

StandardOutput& StandardOutput::shared() {
    static auto* output = new StandardOutput();
    return *output;
}

void StandardOutput::print(const std::string& line) {
    std::lock_guard lock(mutex_);
    if (sink_) {
        sink_(line);
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void StandardOutput::setSink(Sink sink) {
    std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
}

}  // namespace corvane::platform
