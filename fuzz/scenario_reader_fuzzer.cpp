// Any byte string either reads as a scenario or is refused with the reader's own error;
// nothing else escapes, and nothing crashes.
#include <cstdint>
#include <string>

#include "Scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        (void)corvane::session::parseScenario(
            std::string(reinterpret_cast<const char*>(data), size));
    } catch (const corvane::session::ScenarioError&) {
    }
    return 0;
}
