// Any byte string either decodes to settings that write and read back the same, or fails;
// the reader never throws or crashes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/SettingsDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    auto decoded = corvane::decodeSettings(input);
    if (decoded) {
        auto text = corvane::encodeSettings(*decoded);
        if (!text)
            std::abort();
        auto again = corvane::decodeSettings(*text);
        if (!again || corvane::encodeSettings(*again) != text)
            std::abort();
    }
    return 0;
}
