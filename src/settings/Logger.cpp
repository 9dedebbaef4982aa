#include "settings/Logger.h"

#include <string>

#include "platform/foundation/Bundle.h"

namespace corvane {

const platform::Logger& Logger::general() {
    static const auto* logger = new platform::Logger(
        platform::Bundle::main().bundleIdentifier().value_or("com.Quillon.Corvane"), "general");
    return *logger;
}

void logModuleInitialized(std::string_view typeName) {
    Logger::general().log("Module initialized: %{public}s", std::string(typeName));
}

}  // namespace corvane
