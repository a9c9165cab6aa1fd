// PNG files are the user's and may be anything: no bytes may make the row
// decoder, or the fold of its rows into the texture, read or write outside
// their buffers, allocate without bound or run without end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "resources/PictureHeader.h"
#include "resources/PngReader.h"
#include "scene/TextureEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace WorkSpace;
    MemoryByteSource source(data, size);
    PngReader reader;
    if (!reader.Open(source)) return 0;
    const int32_t width = PowerOfTwoSide(reader.Width());
    const int32_t height = PowerOfTwoSide(reader.Height());
    std::vector<uint8_t> texels(size_t(width) * size_t(height) * 4);
    reader.ReadFolded(width, height, texels.data(), ptrdiff_t(width) * 4);
    return 0;
}
