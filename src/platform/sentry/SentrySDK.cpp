#include "platform/sentry/SentrySDK.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <typeinfo>

#include "platform/log/OSLog.h"

namespace corvane::platform {

namespace {

struct State {
    std::mutex mutex;
    std::optional<SentryOptions> options;
    int starts = 0;
    bool handlerInstalled = false;
    std::terminate_handler previous = nullptr;
};

State& state() {
    static auto* s = new State();  // the terminate handler may run while the process exits
    return *s;
}

const OSLog& sdkLogger() {
    static const auto* logger = new OSLog("io.sentry", "sentry");
    return *logger;
}

/// The readable name of the type of the exception being handled, or empty.
std::string currentExceptionTypeName() {
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (type == nullptr)
        return {};
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type->name(), nullptr, nullptr, &status), std::free);
    return status == 0 && demangled ? demangled.get() : type->name();
}

[[noreturn]] void reportUncaughtException() {
    std::terminate_handler previous;
    {
        std::lock_guard lock(state().mutex);
        previous = state().previous;
    }
    if (std::current_exception()) {
        const std::string report = SentrySDK::uncaughtExceptionReport();
        std::fprintf(stderr, "%s\n", report.c_str());
        std::fflush(stderr);
        sdkLogger().write(OSLogType::fault, report);
    }
    if (previous != nullptr)
        previous();
    std::abort();
}

}  // namespace

void SentrySDK::start(const std::function<void(SentryOptions&)>& configureOptions) {
    SentryOptions options;
    if (configureOptions)
        configureOptions(options);
    bool installHandler = false;
    {
        std::lock_guard lock(state().mutex);
        state().options = options;
        ++state().starts;
        installHandler = options.enableUncaughtNSExceptionReporting && !state().handlerInstalled;
        if (installHandler)
            state().handlerInstalled = true;
    }
    if (installHandler) {
        std::terminate_handler previous = std::set_terminate(&reportUncaughtException);
        std::lock_guard lock(state().mutex);
        state().previous = previous;
    }
    if (options.debug)
        sdkLogger().write(OSLogType::debug, "Sentry: SDK started for " + options.dsn);
}

bool SentrySDK::isEnabled() {
    std::lock_guard lock(state().mutex);
    return state().options.has_value();
}

std::optional<SentryOptions> SentrySDK::options() {
    std::lock_guard lock(state().mutex);
    return state().options;
}

int SentrySDK::startCount() {
    std::lock_guard lock(state().mutex);
    return state().starts;
}

std::string SentrySDK::uncaughtExceptionReport() {
    std::string dsn;
    {
        std::lock_guard lock(state().mutex);
        if (state().options)
            dsn = state().options->dsn;
    }
    const std::string type = currentExceptionTypeName();
    std::string what = "(no message)";
    if (auto current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
    } else {
        return "Sentry: no exception is being handled";
    }
    return "Sentry: uncaught exception " + type + ": " + what + " (report for " + dsn +
           " kept on this machine)";
}

}  // namespace corvane::platform
