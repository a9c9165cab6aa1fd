// Picture files are the user's and may be anything: no bytes may make the EXIF
// reader read outside its buffer, loop, or answer outside 1 to 8.
#include <cstddef>
#include <cstdint>

#include "resources/ExifOrientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int32_t orientation = WorkSpace::ReadExifOrientation(data, size);
    if (orientation < 1 || orientation > 8) __builtin_trap();
    return 0;
}
