#include "settings/Logger.h"

#include <string>

#include "platform/foundation/Bundle.h"

namespace corvane {

const platform::OSLog& Logger::general() {
    static const auto* logger = new platform::OSLog(
        platform::Bundle::main().bundleIdentifier().value_or("com.Quillon.Corvane"), "general");
    return *logger;
}

void logModuleInitialized(std::string_view typeName) {
    Logger::general().log("Module initialized: %{public}s", std::string(typeName));
}

}  // namespace corvane
