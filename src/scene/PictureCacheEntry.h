#pragma once
// The bytes of one picture-cache entry: a picture's texture-size pixels and
// its decoded size, under the key that says which file, as it was, they came
// from. Portable; the folder, the files and the pixels' image are the
// Windows glue's (PictureCache_win.cpp).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "resources/TextureShape.h"

namespace WorkSpace {

// Changes whenever decoding, turning upright or redrawing to texture size
// would give other pixels, or the entry's layout changes, so that no entry of
// an older build is believed.
constexpr uint32_t kPictureCacheVersion = 4;

// Longest listed path an entry keeps, UTF-16 units (the longest Windows path).
constexpr size_t kMaxCachedPathUnits = 32767;

// What a listed picture's file is now. Its size and time are the file's own
// (a link's target's), and the volume and index tell another file at the
// same path from it, even one of the same size and time.
struct PictureFileState {
    uint64_t size = 0;       // bytes
    uint64_t writeTime = 0;  // last write, 100 ns units since 1601 (as Windows keeps it)
    uint32_t volume = 0;     // serial number of the volume holding it
    uint64_t index = 0;      // the file's number on that volume
};

struct PictureCacheKey {
    std::u16string path;  // the path as listed, case folded by FoldPathCase
    PictureFileState file;
    uint32_t version = kPictureCacheVersion;
    // The texture rule the entry is made for (TextureSideRule's figures): the
    // same picture at another size is another entry.
    int32_t screenWidth = 0;
    int32_t maxSide = kMaxTextureSide;
};

// An entry's content besides its key. Pixels are 32-bit ARGB words in memory
// order (B, G, R, A), top row first, rows `stride` bytes apart.
struct PictureCacheImage {
    int32_t width = 0;          // the picture as decoded and turned upright, pixels
    int32_t height = 0;
    int32_t textureWidth = 0;   // the pixels' size: the key's rule's shape of width and height
    int32_t textureHeight = 0;
    const uint8_t* pixels = nullptr;
    size_t stride = 0;          // bytes, at least textureWidth * 4
};

// Returns `path` with the case of ASCII, Latin, Greek and Cyrillic letters
// folded to small letters.
std::u16string FoldPathCase(std::u16string_view path);

// Returns the key of a listed path whose file is in `state`.
PictureCacheKey MakePictureCacheKey(std::u16string_view listedPath, const PictureFileState& state);

// Returns true when both keys name the same file in the same state.
bool SameKey(const PictureCacheKey& a, const PictureCacheKey& b);

// Returns the entry's file name for `key`: 16 hexadecimal digits of a hash of
// the whole key, then ".entry".
std::u16string PictureCacheFileName(const PictureCacheKey& key);

// Returns true when `name` has the form PictureCacheFileName gives.
bool IsPictureCacheFileName(std::u16string_view name);

// Returns the entry's bytes, or none when the key's path is longer than
// kMaxCachedPathUnits, a size is not positive, or the texture sides are not
// those the key's rule gives the picture's sizes.
std::vector<uint8_t> ComposePictureCacheEntry(const PictureCacheKey& key,
                                              const PictureCacheImage& image);

// Returns the largest entry ComposePictureCacheEntry makes, bytes.
size_t MaxPictureCacheEntryBytes();

// Returns true when `bytes` are a whole entry for exactly `key` whose checksum
// and sizes hold (as ComposePictureCacheEntry asks); `image` then points into
// `bytes` (stride textureWidth * 4).
bool ParsePictureCacheEntry(const uint8_t* bytes, size_t count, const PictureCacheKey& key,
                            PictureCacheImage& image);

}  // namespace WorkSpace
