// Any byte string either reads as a defaults file or is refused as a whole; what it reads
// writes out, and reads back to the same values and the same text again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/live/DefaultsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using corvane::platform::live::DefaultsFile;
    const auto file =
        DefaultsFile::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!file)
        return 0;
    const auto text = file->text();
    if (!text)
        std::abort();
    const auto again = DefaultsFile::parse(*text);
    if (!again || again->values != file->values || again->text() != text)
        std::abort();
    return 0;
}
