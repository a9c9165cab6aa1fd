// The settings file may hold anything another program or a damaged disk left
// there: no bytes may make the reader read out of bounds, and every path it
// gives back fits the line buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/SettingsFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const WorkSpace::ParsedSettings parsed = WorkSpace::ParseSettings(bytes, [](std::string_view line) {
        return std::u16string(line.begin(), line.end());
    });
    for (const std::u16string& picture : parsed.pictures) {
        if (picture.size() > WorkSpace::kSettingsLineBytes) __builtin_trap();
    }
    return 0;
}
