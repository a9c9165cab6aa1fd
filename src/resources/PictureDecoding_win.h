#pragma once
// Pictures into memory: a user's picture file decoded and redrawn at its
// texture size, a package member decoded as it is, and locked pixel buffers.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "resources/ImageServices_win.h"
#include "resources/MipChain.h"
#include "resources/TextureShape.h"

namespace WorkSpace {

// A decoded image with the size of the picture as it was decoded, before any
// resizing. For a user's picture the image is its 32-bit ARGB texture copy,
// until MakeMipLevels turns it into the texture's mipmap chain.
struct ImageHolder {
    UniqueImage image;
    int32_t width = 0;   // pixels
    int32_t height = 0;  // pixels
    MipChain levels;     // empty until made
};

// Returns true after replacing the holder's image with its mipmap chain, its
// texels as a 24-bit lock of the image gives them; false, leaving the image,
// without memory or pixels.
bool MakeMipLevels(ImageHolder& holder);

// Which decoder a JPEG or PNG file goes to: libjpeg-turbo or libspng at the
// size it flies (GDI+ when they refuse the file), or GDI+ at full size.
enum class FastDecoding { Scaled, GdiplusOnly };

// Returns true after decoding the file at `path` by its content, recording its
// size and leaving in `holder` a 32-bit ARGB copy of side.Shape(width, height)
// with the picture stretched over all of it. On failure the holder is empty.
bool LoadPictureFile(ImageHolder& holder, const std::wstring& path, const TextureSideRule& side,
                     FastDecoding fast = FastDecoding::Scaled);

// Returns the picture file decoded at its own size and turned upright by its
// EXIF orientation, or none: the first step of LoadPictureFile. `size`
// receives the decoded size of the upright picture.
UniqueImage DecodePictureFile(const std::wstring& path, SIZE& size);

// Returns a new 32-bit ARGB image of `width` x `height` pixels with `source`
// stretched over all of it, or none.
UniqueImage RedrawImage(Gdiplus::GpImage* source, int32_t width, int32_t height);

// Returns an image decoded from `count` bytes in memory, holding its own
// pixels (32-bit ARGB, the image's own size), or none.
UniqueImage DecodeImageBytes(const uint8_t* bytes, uint32_t count);

// Returns the package member `member` decoded, or none when the reader has no
// such member, it is empty or does not decode. The reader's copy of the bytes
// is freed before this returns. `Reader` is the package reader (ZipReader).
template <class Reader>
UniqueImage LoadPackageImage(std::u16string_view member, Reader& reader) {
    uint32_t count = 0;
    const uint8_t* bytes = reader.ReadMember(member, count);
    if (!bytes) return UniqueImage();
    UniqueImage image = count > 0 ? DecodeImageBytes(bytes, count) : UniqueImage();
    reader.FreeMember();
    return image;
}

// A locked view of all of an image's pixels, top row first, rows `Stride()`
// bytes apart; unlocked when dropped. The image must outlive the lock.
class PixelLock {
public:
    PixelLock(Gdiplus::GpImage* image, Gdiplus::PixelFormat format, UINT mode);
    PixelLock(const PixelLock&) = delete;
    PixelLock& operator=(const PixelLock&) = delete;
    ~PixelLock();
    explicit operator bool() const { return locked_; }
    const uint8_t* Pixels() const { return static_cast<const uint8_t*>(data_.Scan0); }
    uint8_t* WritablePixels() const { return static_cast<uint8_t*>(data_.Scan0); }
    int32_t Stride() const { return data_.Stride; }
    int32_t Width() const { return int32_t(data_.Width); }
    int32_t Height() const { return int32_t(data_.Height); }

private:
    Gdiplus::GpBitmap* bitmap_;
    Gdiplus::BitmapData data_{};
    bool locked_ = false;
};

}  // namespace WorkSpace
