// The command line comes from whoever starts the saver: no text may make the
// switch parser read past its end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/Switches.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text(size / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) text[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
    const size_t start = WorkSpace::SkipProgramName(text);
    if (start > text.size()) __builtin_trap();
    WorkSpace::ParseSwitches(std::u16string_view(text).substr(start));
    return 0;
}
