// Picture files are the user's and may be anything: no bytes may make the
// header reader read outside its source or walk without end.
#include <cstddef>
#include <cstdint>

#include "resources/PictureHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WorkSpace::MemoryByteSource source(data, size);
    uint32_t width = 0, height = 0;
    WorkSpace::ReadClaimedSize(source, width, height);
    WorkSpace::RefusedByHeader(source);
    return 0;
}
