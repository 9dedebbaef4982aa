#pragma once

#include <functional>
#include <optional>
#include <string>

namespace corvane::platform {

/// The options the crash-reporting SDK is started with.
struct SentryOptions {
    /// The address of the project that receives the reports.
    std::string dsn;
    /// Writes the SDK's own diagnostic lines to the log.
    bool debug = false;
    /// Reports carry the user's identifying data (here: nothing is ever sent).
    bool sendDefaultPii = false;
    /// An exception that nothing catches is reported before the process ends.
    bool enableUncaughtNSExceptionReporting = false;

    bool operator==(const SentryOptions&) const = default;
};

/// The crash-reporting SDK in its place on this machine: it keeps its options and, with
/// `enableUncaughtNSExceptionReporting`, reports an uncaught C++ exception (its type and
/// message) to the log and standard error before the process ends. Nothing is sent
/// anywhere. Any thread.
class SentrySDK {
  public:
    SentrySDK() = delete;

    /// Starts the SDK with the options `configureOptions` sets on a default set; starting
    /// again replaces the options.
    static void start(const std::function<void(SentryOptions&)>& configureOptions);
    /// Whether the SDK was started.
    static bool isEnabled();
    /// The options of the latest start, or none before the first.
    static std::optional<SentryOptions> options();
    /// How often `start` was called.
    static int startCount();

    /// The report written for the exception being handled now, if any (also when there is
    /// none): the line the uncaught-exception handler writes.
    static std::string uncaughtExceptionReport();
};

}  // namespace corvane::platform
