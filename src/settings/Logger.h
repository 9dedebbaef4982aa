#pragma once

#include <string_view>

#include "platform/log/OSLog.h"

namespace corvane {

/// The process-wide loggers of the system.
class Logger {
  public:
    /// Subsystem: the main bundle's identifier, or "com.Quillon.Corvane" without one;
    /// category "general". Created on first use.
    static const platform::OSLog& general();
};

/// Logs "Module initialized: <typeName>" at the default level, as every long-lived service
/// does once when it is created.
void logModuleInitialized(std::string_view typeName);

}  // namespace corvane
