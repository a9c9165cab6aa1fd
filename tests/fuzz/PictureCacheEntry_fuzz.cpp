// Cache entries sit in a folder any program of the user may write to: no bytes
// may make the reader read outside them, allocate, or believe an entry that is
// not exactly the one composed for its key, with pixels in range.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "scene/PictureCacheEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const WorkSpace::PictureCacheKey key =
        WorkSpace::MakePictureCacheKey(u"C:\\Pictures\\a.jpg", {1234, 5678, 0x5A000000, 0xA72988});
    WorkSpace::PictureCacheImage image;
    if (!WorkSpace::ParsePictureCacheEntry(data, size, key, image)) {
        if (image.pixels) __builtin_trap();
        return 0;
    }
    if (image.pixels < data || image.pixels >= data + size) __builtin_trap();
    const std::vector<uint8_t> again = WorkSpace::ComposePictureCacheEntry(key, image);
    if (again.size() != size || std::memcmp(again.data(), data, size) != 0) __builtin_trap();
    return 0;
}
