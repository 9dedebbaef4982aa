#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace corvane::platform {

enum class OSLogType { defaultType, info, debug, error, fault };

const char* toString(OSLogType type);

/// One line written to the unified log.
struct LogEntry {
    std::string subsystem;
    std::string category;
    OSLogType level;
    std::string message;
    bool operator==(const LogEntry&) const = default;
};

/// Where log lines go: kept for tests to read and, when echoing, written to standard error
/// with subsystem, category and level.
class LogStore {
  public:
    static LogStore& shared();

    void write(LogEntry entry);
    /// Every line kept so far (the most recent 100 000).
    std::vector<LogEntry> entries() const;
    /// The messages alone, in order.
    std::vector<std::string> messages() const;
    void clear();
    void setEchoToStandardError(bool echo);
    /// How an echoed line is written (without the newline); none: "[subsystem:category]
    /// level: message". Called with the store locked: it must not log.
    void setEchoFormatter(std::function<std::string(const LogEntry&)> formatter);

  private:
    mutable std::mutex mutex_;
    std::deque<LogEntry> entries_;
    bool echo_ = false;
    std::function<std::string(const LogEntry&)> formatter_;
};

namespace detail {

/// Turns os_log format text into printf text: "%{public}d" becomes "%d", and so on.
std::string stripPrivacyMarkers(std::string_view format);

template <class T>
auto printfArgument(const T& value) {
    if constexpr (std::is_same_v<T, std::string>) {
        return value.c_str();
    } else if constexpr (std::is_same_v<T, std::string_view>) {
        static_assert(!std::is_same_v<T, std::string_view>, "pass a std::string");
    } else if constexpr (std::is_enum_v<T>) {
        return static_cast<std::underlying_type_t<T>>(value);
    } else {
        return value;
    }
}

template <class... Args>
std::string format(std::string_view fmt, const Args&... args) {
    const std::string printfFormat = stripPrivacyMarkers(fmt);
    if constexpr (sizeof...(Args) == 0) {
        return printfFormat;
    } else {
        char stack[512];
        int n = std::snprintf(stack, sizeof stack, printfFormat.c_str(), printfArgument(args)...);
        if (n < 0)
            return printfFormat;
        if (static_cast<std::size_t>(n) < sizeof stack)
            return std::string(stack, static_cast<std::size_t>(n));
        std::string out(static_cast<std::size_t>(n) + 1, '\0');
        std::snprintf(out.data(), out.size(), printfFormat.c_str(), printfArgument(args)...);
        out.resize(static_cast<std::size_t>(n));
        return out;
    }
}

}  // namespace detail

/// A unified-logging log handle (`os_log_t`): a subsystem and a category. Formats follow os_log:
/// printf conversions with optional privacy markers ("%{public}d", "%{public}u", "%{public}s").
/// Usable from any thread.
class OSLog {
  public:
    OSLog(std::string subsystem, std::string category)
        : subsystem_(std::move(subsystem)), category_(std::move(category)) {}

    const std::string& subsystem() const { return subsystem_; }
    const std::string& category() const { return category_; }

    /// Writes at the default level.
    template <class... Args>
    void log(std::string_view fmt, const Args&... args) const {
        write(OSLogType::defaultType, detail::format(fmt, args...));
    }
    template <class... Args>
    void error(std::string_view fmt, const Args&... args) const {
        write(OSLogType::error, detail::format(fmt, args...));
    }

    void write(OSLogType level, std::string message) const;

  private:
    std::string subsystem_;
    std::string category_;
};

}  // namespace corvane::platform
