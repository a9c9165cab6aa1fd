#pragma once
// The size a picture file claims in its header, read before any decoder sees
// the file: a picture that claims more pixels than any camera makes is left
// out at once instead of being handed to a decoder that would try to allocate
// for it. Portable; the file is read through a ByteSource.
#include <cstddef>
#include <cstdint>

namespace WorkSpace {

// Most pixels a listed picture may claim: 2^28 (16384 x 16384), far above the
// largest camera sensors and panoramas a screen saver flies. A picture of that
// many 32-bit pixels already takes 1 GiB when decoded at full size.
constexpr uint64_t kMaxPicturePixels = uint64_t(1) << 28;

// Random access to a file's bytes.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Returns how many of `count` bytes at `offset` were read into `out`.
    virtual size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) = 0;
};

// Returns true with the width and height, pixels, that the header of a PNG,
// GIF, BMP, JPEG, TIFF (BigTIFF too) or icon file claims; false for any other
// content and for a header that cannot be read. Reads a bounded number of
// bytes: a JPEG's frame header within 4096 segments and 64 KiB of fill bytes,
// a TIFF's sides within the first 1024 entries of its first directory, an
// icon's within its first 256 images.
bool ReadClaimedSize(ByteSource& source, uint32_t& width, uint32_t& height);

// Returns true when the file must not reach a decoder: its header claims more
// than kMaxPicturePixels, or it starts as one of the formats above and shows
// no size within those bounds (a decoder would have to find one further on,
// and could allocate for anything). Other content is left to the decoders.
bool RefusedByHeader(ByteSource& source);

// A ByteSource over bytes in memory.
class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override;

private:
    const uint8_t* data_;
    size_t size_;
};

}  // namespace WorkSpace
