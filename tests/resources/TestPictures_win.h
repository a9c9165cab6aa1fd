#pragma once
// Picture files made by the tests themselves, through the GDI+ encoders, and
// the comparison of the fast decoders' textures with those of GDI+ alone.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "resources/ImageServices_win.h"
#include "resources/PictureDecoding_win.h"
#include "support/TestFolder_win.h"

namespace testpictures {

using WorkSpace::Testing::MakeTempFolder;
using WorkSpace::Testing::RemoveTempFolder;

// A folder made by MakeTempFolder, removed with its files when dropped.
struct TempFolder {
    explicit TempFolder(const wchar_t* stem) : path(MakeTempFolder(stem)) {}
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveTempFolder(path); }
    const std::wstring path;  // ends in a backslash
};

inline bool WriteBytes(const std::wstring& path, const void* bytes, size_t count) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = count == 0 || WriteFile(file, bytes, DWORD(count), &written, nullptr);
    CloseHandle(file);
    return ok && written == count;
}

inline std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

// Sets a file's last-write time `hours` before now.
inline bool AgeFile(const std::wstring& path, uint32_t hours) {
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = ((uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime) -
                           uint64_t(hours) * 3600 * 10000000;
    const FILETIME time{DWORD(ticks), DWORD(ticks >> 32)};
    const BOOL set = SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
    return set != FALSE;
}

inline bool EncoderFor(const wchar_t* mimeType, CLSID& clsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) {
        return false;
    }
    std::vector<uint8_t> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::DllExports::GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (lstrcmpiW(codecs[i].MimeType, mimeType) == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// The largest of the three colour channels' mean absolute differences, levels;
// -1 when the images differ in size or do not lock. Colours alone, as picture
// textures take them (a 24-bit lock, which drops alpha).
inline double MeanDifference(Gdiplus::GpImage* a, Gdiplus::GpImage* b) {
    using WorkSpace::PixelLock;
    PixelLock first(a, PixelFormat32bppARGB, Gdiplus::ImageLockModeRead);
    PixelLock second(b, PixelFormat32bppARGB, Gdiplus::ImageLockModeRead);
    if (!first || !second || first.Width() != second.Width() ||
        first.Height() != second.Height()) {
        return -1;
    }
    double sums[3] = {};
    for (int y = 0; y < first.Height(); ++y) {
        const uint8_t* p = first.Pixels() + ptrdiff_t(y) * first.Stride();
        const uint8_t* q = second.Pixels() + ptrdiff_t(y) * second.Stride();
        for (int x = 0; x < first.Width() * 4; ++x) {
            if (x % 4 != 3) sums[x % 4] += std::abs(int(p[x]) - int(q[x]));
        }
    }
    const double pixels = double(first.Width()) * first.Height();
    return std::max({sums[0], sums[1], sums[2]}) / pixels;
}

// Expects the picture file at `path` to load both by the fast decoders and by
// GDI+ alone, each recording `width` x `height`, with textures whose colours
// differ by 4 levels or less on average.
inline void ExpectFastLooksAsGdiplus(const std::wstring& path, WorkSpace::TextureSideRule side,
                                     int width, int height) {
    using WorkSpace::FastDecoding;
    WorkSpace::ImageHolder fast, full;
    ASSERT_TRUE(WorkSpace::LoadPictureFile(fast, path, side, FastDecoding::Scaled));
    ASSERT_TRUE(WorkSpace::LoadPictureFile(full, path, side, FastDecoding::GdiplusOnly));
    EXPECT_EQ(fast.width, width);
    EXPECT_EQ(fast.height, height);
    EXPECT_EQ(full.width, width);
    EXPECT_EQ(full.height, height);
    const double difference = MeanDifference(fast.image.Get(), full.image.Get());
    EXPECT_GE(difference, 0.0);
    EXPECT_LE(difference, 4.0);
}

// Expects the picture file at `path` to give by the fast decoders exactly what
// it gives by GDI+ alone: both fail, or both load with the same size and colours.
inline void ExpectExactlyAsGdiplus(const std::wstring& path, WorkSpace::TextureSideRule side) {
    using WorkSpace::FastDecoding;
    WorkSpace::ImageHolder fast, full;
    const bool fastLoads = WorkSpace::LoadPictureFile(fast, path, side, FastDecoding::Scaled);
    EXPECT_EQ(fastLoads, WorkSpace::LoadPictureFile(full, path, side, FastDecoding::GdiplusOnly));
    EXPECT_EQ(fast.width, full.width);
    EXPECT_EQ(fast.height, full.height);
    if (fastLoads) {
        EXPECT_EQ(MeanDifference(fast.image.Get(), full.image.Get()), 0.0);
    }
}

// Pixel colour 0xAARRGGBB at (x, y).
using Painter = std::function<uint32_t(int x, int y)>;

inline Painter Solid(uint32_t argb) {
    return [argb](int, int) { return argb; };
}

// Writes a GIF of `width` x `height` pixels of one opaque colour (0xRRGGBB),
// LZW-coded without compression: 9-bit codes and a clear code every 254
// pixels, so the code table never grows. (The GIF encoder under Wine writes
// frames without pixels.)
inline bool SaveSolidGif(const std::wstring& path, int width, int height, uint32_t rgb) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto put16 = [&](int v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
    put16(width);
    put16(height);
    out.insert(out.end(), {0xF7, 0, 0});  // global table of 256 colours
    for (int i = 0; i < 256; ++i) {
        const uint32_t c = i == 0 ? rgb : 0;
        out.insert(out.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    }
    out.push_back(0x2C);
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    out.push_back(0);
    out.push_back(8);  // minimum code size
    std::vector<uint8_t> data;
    uint32_t bits = 0;
    int bitCount = 0;
    auto code = [&](uint32_t value) {
        bits |= value << bitCount;
        bitCount += 9;
        while (bitCount >= 8) {
            data.push_back(uint8_t(bits));
            bits >>= 8;
            bitCount -= 8;
        }
    };
    const long pixels = long(width) * height;
    for (long i = 0; i < pixels; ++i) {
        if (i % 254 == 0) code(256);
        code(0);
    }
    code(257);
    if (bitCount > 0) data.push_back(uint8_t(bits));
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = std::min<size_t>(255, data.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + long(at), data.begin() + long(at + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    return WriteBytes(path, out.data(), out.size());
}

// Writes a width x height picture painted by `paint` in the format of
// `mimeType` ("image/bmp", "image/jpeg", "image/png", "image/tiff"; GIF
// through SaveSolidGif).
inline bool SavePicture(const std::wstring& path, const wchar_t* mimeType, int width, int height,
                        const Painter& paint) {
    if (lstrcmpiW(mimeType, L"image/gif") == 0) {
        return SaveSolidGif(path, width, height, paint(0, 0) & 0xFFFFFF);
    }
    if (!WorkSpace::StartImageServices()) return false;
    CLSID clsid;
    if (!EncoderFor(mimeType, clsid)) return false;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels[size_t(y) * width + x] = paint(x, y);
    }
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, width * 4,
                                                       PixelFormat32bppARGB,
                                                       reinterpret_cast<BYTE*>(pixels.data()),
                                                       &bitmap) != Gdiplus::Ok) {
        return false;
    }
    WorkSpace::UniqueImage image(bitmap);
    return Gdiplus::DllExports::GdipSaveImageToFile(image.Get(), path.c_str(), &clsid, nullptr) ==
           Gdiplus::Ok;
}

// The APP1 segment with a little-endian TIFF block whose IFD0 holds the
// orientation; it goes right after a JPEG's first two bytes.
inline std::vector<uint8_t> ExifSegment(uint16_t orientation) {
    return {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0,
            'I', 'I', 42, 0, 8, 0, 0, 0,
            1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, uint8_t(orientation), 0, 0, 0,
            0, 0, 0, 0};
}

// A BMP header that claims 60000 x 60000 pixels of 24 bits, followed by a few bytes.
inline std::vector<uint8_t> HugeBitmapHeader() {
    std::vector<uint8_t> bytes(54 + 64, 0x7F);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); };
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&bytes[at], &v, 2); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54u + 60000u * 180000u);
    put32(6, 0);
    put32(10, 54);
    put32(14, 40);
    put32(18, 60000);
    put32(22, 60000);
    put16(26, 1);
    put16(28, 24);
    put32(30, 0);
    put32(34, 0);
    return bytes;
}

// Small files whose headers claim 65000 x 65000 pixels, each well formed as
// far as it goes: a PNG (its header chunk whole, CRC included), a GIF, TIFFs,
// a JPEG and an icon.
inline std::vector<std::pair<const wchar_t*, std::vector<uint8_t>>> HugeClaims() {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                'I', 'H', 'D', 'R', 0, 0, 0xFD, 0xE8, 0, 0, 0xFD, 0xE8, 8, 2, 0, 0, 0};
    const uLong crc = crc32(0, png.data() + 12, 17);
    for (int shift = 24; shift >= 0; shift -= 8) png.push_back(uint8_t(crc >> shift));
    const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 0xE8, 0xFD, 0xE8, 0xFD, 0, 0, 0,
                                      ',', 0, 0, 0, 0, 0xE8, 0xFD, 0xE8, 0xFD, 0, 2, 2, 0x44, 0x01, 0, ';'};
    const std::vector<uint8_t> tiff = {'I', 'I', 42, 0, 8, 0, 0, 0, 2, 0,
                                       0, 1, 4, 0, 1, 0, 0, 0, 0xE8, 0xFD, 0, 0,
                                       1, 1, 4, 0, 1, 0, 0, 0, 0xE8, 0xFD, 0, 0, 0, 0, 0, 0};
    // Forms whose claim lies beyond where a quick look would stop: 400 fill
    // bytes before a JPEG's frame header, a BigTIFF, an icon holding a PNG.
    std::vector<uint8_t> filled = {0xFF, 0xD8};
    filled.resize(2 + 400, 0xFF);
    filled.insert(filled.end(), {0xFF, 0xC0, 0, 17, 8, 0xFD, 0xE8, 0xFD, 0xE8, 3, 1, 0x22, 0, 2, 0x11,
                                 1, 3, 0x11, 1, 0xFF, 0xD9});
    const std::vector<uint8_t> bigTiff = {'I', 'I', 43, 0, 8, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0,
                                          2, 0, 0, 0, 0, 0, 0, 0,
                                          0, 1, 4, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xE8, 0xFD, 0, 0, 0, 0, 0, 0,
                                          1, 1, 4, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0xE8, 0xFD, 0, 0, 0, 0, 0, 0,
                                          0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<uint8_t> icon = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0,
                                 uint8_t(png.size()), 0, 0, 0, 22, 0, 0, 0};
    icon.insert(icon.end(), png.begin(), png.end());
    return {{L"huge.png", png}, {L"huge.gif", gif}, {L"huge.tif", tiff},
            {L"filled.jpg", filled}, {L"big.tif", bigTiff}, {L"huge.ico", icon}};
}

// Two frames of 8 x 6: red, then blue.
inline const uint8_t kAnimatedGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x08, 0x00, 0x06, 0x00, 0xf0, 0x00, 0x00, 0xff, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x21, 0xff, 0x0b,
    0x4e, 0x45, 0x54, 0x53, 0x43, 0x41, 0x50, 0x45, 0x32, 0x2e, 0x30, 0x03, 0x01, 0x00, 0x00,
    0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x06, 0x00, 0x00, 0x02, 0x06, 0x84, 0x8f,
    0xa9, 0xcb, 0x7d, 0x05, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x2c, 0x00,
    0x00, 0x00, 0x00, 0x08, 0x00, 0x06, 0x00, 0x80, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0x02,
    0x06, 0x84, 0x8f, 0xa9, 0xcb, 0x7d, 0x05, 0x00, 0x3b};

}  // namespace testpictures
