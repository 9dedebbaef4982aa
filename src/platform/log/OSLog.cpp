#include "platform/log/OSLog.h"

#include <cstdio>

namespace corvane::platform {

namespace {
constexpr std::size_t kKeptEntries = 100'000;
}

const char* toString(OSLogType type) {
    switch (type) {
        case OSLogType::defaultType:
            return "default";
        case OSLogType::info:
            return "info";
        case OSLogType::debug:
            return "debug";
        case OSLogType::error:
            return "error";
        case OSLogType::fault:
            return "fault";
    }
    return "default";
}

LogStore& LogStore::shared() {
    static auto* store = new LogStore();
    return *store;
}

void LogStore::write(LogEntry entry) {
    std::lock_guard lock(mutex_);
    if (echo_ && formatter_) {
        std::fprintf(stderr, "%s\n", formatter_(entry).c_str());
    } else if (echo_) {
        std::fprintf(stderr, "[%s:%s] %s: %s\n", entry.subsystem.c_str(), entry.category.c_str(),
                     toString(entry.level), entry.message.c_str());
    }
    if (entries_.size() == kKeptEntries)
        entries_.pop_front();
    entries_.push_back(std::move(entry));
}

std::vector<LogEntry> LogStore::entries() const {
    std::lock_guard lock(mutex_);
    return {entries_.begin(), entries_.end()};
}

std::vector<std::string> LogStore::messages() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    out.reserve(entries_.size());
    for (const auto& e : entries_)
        out.push_back(e.message);
    return out;
}

void LogStore::clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}

void LogStore::setEchoToStandardError(bool echo) {
    std::lock_guard lock(mutex_);
    echo_ = echo;
}

void LogStore::setEchoFormatter(std::function<std::string(const LogEntry&)> formatter) {
    std::lock_guard lock(mutex_);
    formatter_ = std::move(formatter);
}

void OSLog::write(OSLogType level, std::string message) const {
    LogStore::shared().write(LogEntry{subsystem_, category_, level, std::move(message)});
}

namespace detail {

std::string stripPrivacyMarkers(std::string_view format) {
    std::string out;
    out.reserve(format.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        out += format[i];
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '{') {
            std::size_t close = format.find('}', i + 2);
            if (close != std::string_view::npos)
                i = close;
        }
    }
    return out;
}

}  // namespace detail

}  // namespace corvane::platform
