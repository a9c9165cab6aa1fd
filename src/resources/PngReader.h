#pragma once
// PNG pictures decoded at the size they fly: libspng decodes the file row by
// row and each row is folded into the texture as it comes (TextureFold), so
// no full-size copy of the picture is made. Whatever libspng complains about
// is left to GDI+, which decodes or fails it as always. Portable; the file is
// read through a ByteSource.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "resources/PictureHeader.h"

namespace WorkSpace {

// Returns true when `data`, the first `size` bytes of a file, start with the
// PNG signature.
bool StartsLikePng(const uint8_t* data, size_t size);

struct PngSession;

// One PNG file being decoded: Open reads its header, ReadFolded its pixels.
// Not copyable; frees the decoder when dropped.
class PngReader {
public:
    PngReader();
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
    ~PngReader();

    // Returns true when `source` holds a PNG by its content whose header reads,
    // that is not interlaced, is at most kMaxFoldWidth wide and claims at most
    // kMaxPicturePixels. The source must outlive the reader's use.
    bool Open(ByteSource& source);

    // The size of the last successful Open, pixels.
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    // Returns true after decoding every row of the opened file into
    // `textureWidth` x `textureHeight` texels at `texels`, rows `stride` bytes
    // apart (see TextureFold::Start), and reading the chunks after the pixels
    // up to the end chunk. False on any libspng error: damaged or truncated
    // data, a chunk whose checksum does not match (ancillary ones included),
    // a chunk over the memory limits; the texels are then partly written.
    // One call per Open.
    bool ReadFolded(int32_t textureWidth, int32_t textureHeight, uint8_t* texels,
                    ptrdiff_t stride);

private:
    std::unique_ptr<PngSession> session_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace WorkSpace
