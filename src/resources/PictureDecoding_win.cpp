#include "resources/PictureDecoding_win.h"

#include <cstring>
#include <vector>

#include "common/Handles_win.h"
#include "resources/ExifOrientation.h"
#include "resources/JpegReader_win.h"
#include "resources/PictureHeader.h"
#include "resources/PngReader.h"

namespace WorkSpace {
namespace {

Gdiplus::GpBitmap* AsBitmap(Gdiplus::GpImage* image) {
    return static_cast<Gdiplus::GpBitmap*>(image);
}

UniqueImage NewArgbBitmap(int32_t width, int32_t height) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr,
                                        &bitmap) != Gdiplus::Ok) {
        if (bitmap) Gdip::GdipDisposeImage(bitmap);
        return UniqueImage();
    }
    return UniqueImage(bitmap);
}

// Returns a copy of `source` in memory of its own, so that the stream it was
// decoded from can go (GDI+ may otherwise read the stream again later).
UniqueImage CopyPixels(Gdiplus::GpImage* source) {
    const SIZE size = ImageSize(source);
    if (size.cx <= 0 || size.cy <= 0) return UniqueImage();
    PixelLock from(source, PixelFormat32bppARGB, Gdiplus::ImageLockModeRead);
    if (!from) return UniqueImage();
    UniqueImage copy = NewArgbBitmap(size.cx, size.cy);
    if (!copy) return UniqueImage();
    {
        PixelLock to(copy.Get(), PixelFormat32bppARGB, Gdiplus::ImageLockModeWrite);
        if (!to) return UniqueImage();
        const size_t rowBytes = size_t(size.cx) * 4;
        for (int32_t row = 0; row < size.cy; ++row) {
            std::memcpy(to.WritablePixels() + ptrdiff_t(row) * to.Stride(),
                        from.Pixels() + ptrdiff_t(row) * from.Stride(), rowBytes);
        }
    }
    return copy;
}

// Returns the EXIF orientation (1 to 8) of the picture file at `path`, read
// from its first bytes; 1 when the file has none or cannot be read.
int32_t ReadPictureOrientation(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 1;
    std::vector<uint8_t> head(kExifScanBytes);
    DWORD read = 0;
    if (!ReadFile(file.Get(), head.data(), DWORD(head.size()), &read, nullptr)) return 1;
    return ReadExifOrientation(head.data(), read);
}

// The bytes of an open file, read at any offset.
class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(HANDLE file) : file_(file) {}
    size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) override {
        OVERLAPPED at{};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        DWORD read = 0;
        return ReadFile(file_, out, DWORD(count), &read, &at) ? read : 0;
    }

private:
    HANDLE file_;  // borrowed
};

// Returns true when the header of the file at `path` claims more pixels than
// any picture the saver takes, or shows no size where it must; false also when
// the file cannot be read (the decoder then fails it as always).
bool RefusedByHeader(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    FileByteSource source(file.Get());
    return RefusedByHeader(source);
}

// Turns `image` upright for `orientation`, so phone and camera photos show as
// they were held. Returns false, leaving the image as decoded, when GDI+
// refuses; true when nothing needed doing.
bool TurnUpright(Gdiplus::GpImage* image, int32_t orientation) {
    const UprightTurn turn = UprightTurnFor(orientation);
    Gdiplus::RotateFlipType rotation = Gdiplus::RotateNoneFlipNone;
    switch (turn.clockwiseDegrees) {
    case 90: rotation = Gdiplus::Rotate90FlipNone; break;
    case 180: rotation = Gdiplus::Rotate180FlipNone; break;
    case 270: rotation = Gdiplus::Rotate270FlipNone; break;
    default: break;
    }
    if (rotation != Gdiplus::RotateNoneFlipNone &&
        Gdip::GdipImageRotateFlip(image, rotation) != Gdiplus::Ok) {
        return false;
    }
    return !turn.flipHorizontally ||
           Gdip::GdipImageRotateFlip(image, Gdiplus::RotateNoneFlipX) == Gdiplus::Ok;
}

// Returns the JPEG file at `path` decoded by libjpeg-turbo at the smallest
// scale that covers its texture, turned upright, or none when the file is no
// JPEG or libjpeg-turbo refuses it. `size` receives the picture's full upright
// size from its header, so proportions are those of the full-size decode.
UniqueImage DecodeJpegAtTextureSize(const std::wstring& path, const TextureSideRule& side,
                                    SIZE& size) {
    size = SIZE{0, 0};
    if (!StartImageServices()) return UniqueImage();
    const int32_t orientation = ReadPictureOrientation(path);
    JpegReader reader;
    if (!reader.Open(path, orientation, side)) return UniqueImage();
    const JpegDecodePlan& plan = reader.Plan();
    UniqueImage decoded = NewArgbBitmap(plan.outputWidth, plan.outputHeight);
    if (!decoded) return UniqueImage();
    {
        PixelLock pixels(decoded.Get(), PixelFormat32bppARGB, Gdiplus::ImageLockModeWrite);
        if (!pixels || !reader.ReadPixels(pixels.WritablePixels(), pixels.Stride())) {
            return UniqueImage();
        }
    }
    if (!TurnUpright(decoded.Get(), orientation)) return UniqueImage();
    size = SIZE{plan.uprightWidth, plan.uprightHeight};
    return decoded;
}

// Returns the PNG file at `path` decoded by libspng straight into its
// texture-size bitmap, row by row, or none when the file is no PNG or libspng
// refuses it. `size` receives the picture's full size. PNG files carry no
// orientation that the saver reads.
UniqueImage DecodePngAtTextureSize(const std::wstring& path, const TextureSideRule& side,
                                   SIZE& size) {
    size = SIZE{0, 0};
    if (!StartImageServices()) return UniqueImage();
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return UniqueImage();
    FileByteSource source(file.Get());
    PngReader reader;
    if (!reader.Open(source)) return UniqueImage();
    const TextureShape shape = side.Shape(reader.Width(), reader.Height());
    UniqueImage texture = NewArgbBitmap(shape.width, shape.height);
    if (!texture) return UniqueImage();
    {
        PixelLock pixels(texture.Get(), PixelFormat32bppARGB, Gdiplus::ImageLockModeWrite);
        if (!pixels || !reader.ReadFolded(pixels.Width(), pixels.Height(), pixels.WritablePixels(),
                                          pixels.Stride())) {
            return UniqueImage();
        }
    }
    size = SIZE{reader.Width(), reader.Height()};
    return texture;
}

// Returns the picture file at `path` decoded (by libjpeg-turbo at a reduced
// scale when `fast` allows, else by GDI+) and redrawn at its texture size, or
// none; `size` receives the decoded size.
UniqueImage DecodeAndRedraw(const std::wstring& path, const TextureSideRule& side, FastDecoding fast,
                            SIZE& size) {
    UniqueImage decoded;
    if (fast == FastDecoding::Scaled) decoded = DecodeJpegAtTextureSize(path, side, size);
    // Not a JPEG, or one libjpeg-turbo refuses: GDI+ decodes or fails it as always.
    if (!decoded) decoded = DecodePictureFile(path, size);
    if (!decoded) return UniqueImage();
    const TextureShape shape = side.Shape(size.cx, size.cy);
    return RedrawImage(decoded.Get(), shape.width, shape.height);
}

}  // namespace

PixelLock::PixelLock(Gdiplus::GpImage* image, Gdiplus::PixelFormat format, UINT mode)
    : bitmap_(AsBitmap(image)) {
    const SIZE size = ImageSize(image);
    if (size.cx <= 0 || size.cy <= 0) return;
    const Gdiplus::GpRect whole(0, 0, size.cx, size.cy);
    locked_ = Gdip::GdipBitmapLockBits(bitmap_, &whole, mode, format, &data_) == Gdiplus::Ok &&
              data_.Scan0 != nullptr;
}

PixelLock::~PixelLock() {
    if (locked_) Gdip::GdipBitmapUnlockBits(bitmap_, &data_);
}

UniqueImage DecodePictureFile(const std::wstring& path, SIZE& size) {
    size = SIZE{0, 0};
    if (!StartImageServices()) return UniqueImage();
    Gdiplus::GpBitmap* bitmap = nullptr;
    const Gdiplus::GpStatus status = Gdip::GdipCreateBitmapFromFile(path.c_str(), &bitmap);
    UniqueImage decoded(bitmap);
    if (status != Gdiplus::Ok || !decoded) return UniqueImage();
    // Upright first, so the recorded size and the texture are those of the picture
    // as the camera held it; a refused turn leaves the picture as stored.
    TurnUpright(decoded.Get(), ReadPictureOrientation(path));
    size = ImageSize(decoded.Get());
    if (size.cx <= 0 || size.cy <= 0) return UniqueImage();
    return decoded;
}

UniqueImage RedrawImage(Gdiplus::GpImage* source, int32_t width, int32_t height) {
    UniqueImage target = NewArgbBitmap(width, height);
    if (!target) return UniqueImage();
    Gdiplus::GpGraphics* rawGraphics = nullptr;
    if (Gdip::GdipGetImageGraphicsContext(target.Get(), &rawGraphics) != Gdiplus::Ok) {
        return UniqueImage();
    }
    UniqueGraphics graphics(rawGraphics);
    if (Gdip::GdipDrawImageRectI(graphics.Get(), source, 0, 0, width, height) != Gdiplus::Ok ||
        Gdip::GdipFlush(graphics.Get(), Gdiplus::FlushIntentionFlush) != Gdiplus::Ok) {
        return UniqueImage();
    }
    return target;
}

// The decoded file is freed as soon as its texture-size copy exists, so at
// most one full-size picture is ever in memory, and none for a JPEG that
// libjpeg-turbo decodes or a PNG that libspng decodes. A picture whose header
// claims more pixels than the bound never reaches a decoder: it fails at
// once, as an undecodable one does, and so does one whose header shows no
// size where its format must.
bool LoadPictureFile(ImageHolder& holder, const std::wstring& path, const TextureSideRule& side,
                     FastDecoding fast) {
    holder.image.Reset();
    holder.levels.Clear();
    holder.width = 0;
    holder.height = 0;
    if (RefusedByHeader(path)) return false;
    SIZE size{0, 0};
    UniqueImage scaled;
    if (fast == FastDecoding::Scaled) scaled = DecodePngAtTextureSize(path, side, size);
    if (!scaled) scaled = DecodeAndRedraw(path, side, fast, size);
    if (!scaled) return false;
    holder.image = std::move(scaled);
    holder.width = size.cx;
    holder.height = size.cy;
    return true;
}

// Runs on a decoding thread, so the window's thread only hands levels over.
bool MakeMipLevels(ImageHolder& holder) {
    if (!holder.image) return false;
    {
        PixelLock pixels(holder.image.Get(), PixelFormat24bppRGB, Gdiplus::ImageLockModeRead);
        if (!pixels ||
            !holder.levels.Build(pixels.Pixels(), pixels.Stride(), pixels.Width(), pixels.Height())) {
            return false;
        }
    }
    holder.image.Reset();
    return true;
}

UniqueImage DecodeImageBytes(const uint8_t* bytes, uint32_t count) {
    if (!bytes || count == 0 || !StartImageServices()) return UniqueImage();
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, count));
    if (!block) return UniqueImage();
    void* target = GlobalLock(block.Get());
    if (!target) return UniqueImage();
    std::memcpy(target, bytes, count);
    IStream* rawStream = nullptr;
    UniqueImage decoded;
    if (CreateStreamOnHGlobal(block.Get(), FALSE, &rawStream) == S_OK && rawStream) {
        UniqueStream stream(rawStream);
        Gdiplus::GpBitmap* bitmap = nullptr;
        const Gdiplus::GpStatus status = Gdip::GdipCreateBitmapFromStream(stream.Get(), &bitmap);
        decoded.Reset(bitmap);
        if (status == Gdiplus::Ok) decoded = CopyPixels(decoded.Get());
        else decoded.Reset();
    }
    GlobalUnlock(block.Get());
    return decoded;
}

}  // namespace WorkSpace
