#include "resources/PictureHeader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace WorkSpace;

namespace {

using Bytes = std::vector<uint8_t>;

void Big(Bytes& out, uint64_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
}
void Little(Bytes& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

Bytes Png(uint32_t w, uint32_t h) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    Big(b, w, 4);
    Big(b, h, 4);
    b.insert(b.end(), {8, 6, 0, 0, 0});
    return b;
}

Bytes Gif(uint32_t w, uint32_t h) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Little(b, w, 2);
    Little(b, h, 2);
    b.insert(b.end(), {0, 0, 0});
    return b;
}

Bytes Bmp(uint32_t headerSize, int32_t w, int32_t h) {
    Bytes b = {'B', 'M'};
    Little(b, 0, 4);
    Little(b, 0, 4);
    Little(b, 54, 4);
    Little(b, headerSize, 4);
    if (headerSize == 12) {
        Little(b, uint32_t(w), 2);
        Little(b, uint32_t(h), 2);
        Little(b, 0x00180001, 4);
    } else {
        Little(b, uint32_t(w), 4);
        Little(b, uint32_t(h), 4);
    }
    b.resize(54, 0);
    return b;
}

// A JPEG with an APP1 segment, fill bytes and a restart-free frame header.
Bytes Jpeg(uint32_t w, uint32_t h, uint8_t frameMarker = 0xC2, bool scanFirst = false,
           size_t fill = 2, size_t segments = 1) {
    Bytes b = {0xFF, 0xD8};
    for (size_t i = 0; i < segments; ++i) {
        b.insert(b.end(), {0xFF, 0xE1});
        Big(b, 2 + 300, 2);
        b.resize(b.size() + 300, 0xAB);
    }
    if (scanFirst) b.insert(b.end(), {0xFF, 0xDA, 0, 2});
    b.resize(b.size() + fill + 1, 0xFF);
    b.push_back(frameMarker);
    Big(b, 17, 2);
    b.push_back(8);
    Big(b, h, 2);
    Big(b, w, 2);
    b.resize(b.size() + 10, 0);
    return b;
}

// A TIFF whose first directory lies after 5000 bytes of pixels, as many
// writers put it; sides as SHORT or LONG.
Bytes Tiff(bool bigEndian, uint32_t w, uint32_t h, uint16_t type) {
    auto put = [bigEndian](Bytes& out, uint32_t v, int bytes) {
        bigEndian ? Big(out, v, bytes) : Little(out, v, bytes);
    };
    Bytes b = {uint8_t(bigEndian ? 'M' : 'I'), uint8_t(bigEndian ? 'M' : 'I')};
    put(b, 42, 2);
    put(b, 5008, 4);
    b.resize(5008, 0x55);
    put(b, 3, 2);
    const uint32_t entries[3][2] = {{254, 0}, {256, w}, {257, h}};
    for (const auto& e : entries) {
        put(b, e[0], 2);
        put(b, type, 2);
        put(b, 1, 4);
        if (type == 3) { put(b, e[1], 2); put(b, 0, 2); }
        else put(b, e[1], 4);
    }
    put(b, 0, 4);
    return b;
}

// A BigTIFF whose first directory holds the sides as LONG8.
Bytes BigTiff(uint32_t w, uint32_t h) {
    Bytes b = {'I', 'I', 43, 0, 8, 0, 0, 0};
    Little(b, 16, 8);  // the first directory
    Little(b, 2, 8);   // its entries
    const uint32_t entries[2][2] = {{256, w}, {257, h}};
    for (const auto& e : entries) {
        Little(b, e[0], 2);
        Little(b, 16, 2);
        Little(b, 1, 8);
        Little(b, e[1], 8);
    }
    return b;
}

// An icon file of two images: a small bitmap and a PNG of the given sides.
Bytes IconWithPng(uint32_t w, uint32_t h) {
    Bytes b = {0, 0, 1, 0, 2, 0};
    const Bytes png = Png(w, h);
    const uint32_t bitmapAt = 6 + 2 * 16, pngAt = bitmapAt + 40;
    b.insert(b.end(), {16, 16, 0, 0, 1, 0, 32, 0});
    Little(b, 40, 4);
    Little(b, bitmapAt, 4);
    b.insert(b.end(), {0, 0, 0, 0, 1, 0, 32, 0});
    Little(b, uint32_t(png.size()), 4);
    Little(b, pngAt, 4);
    Little(b, 40, 4);
    Little(b, 16, 4);
    Little(b, 32, 4);  // 16 rows of colour, 16 of mask
    b.resize(pngAt, 0);
    b.insert(b.end(), png.begin(), png.end());
    return b;
}

}  // namespace

TEST(PictureHeader, ReadsTheClaimedSizeOfEveryFormatTheSaverOffers) {
    struct Case {
        const char* what;
        Bytes bytes;
        bool read;
        uint32_t width, height;
    };
    const Bytes jpeg = Jpeg(4000, 3000);
    const Bytes png = Png(1, 1);
    const Case cases[] = {
        {"png", Png(65000, 65000), true, 65000, 65000},
        {"gif", Gif(640, 65535), true, 640, 65535},
        {"bmp, info header", Bmp(40, 60000, 60000), true, 60000, 60000},
        {"bmp, top row first", Bmp(124, 300, -200), true, 300, 200},
        {"bmp, core header", Bmp(12, 1200, 900), true, 1200, 900},
        {"jpeg, progressive after APP1 and fill bytes", jpeg, true, 4000, 3000},
        {"jpeg, baseline", Jpeg(65000, 65000, 0xC0), true, 65000, 65000},
        {"jpeg, scan before any frame", Jpeg(10, 10, 0xC0, true), false, 0, 0},
        {"jpeg, cut before its frame", Bytes(jpeg.begin(), jpeg.begin() + 200), false, 0, 0},
        {"jpeg, DHT is no frame", Jpeg(10, 10, 0xC4), false, 0, 0},
        {"tiff, little-endian SHORT", Tiff(false, 5000, 4000, 3), true, 5000, 4000},
        {"tiff, big-endian LONG", Tiff(true, 100000, 90000, 4), true, 100000, 90000},
        {"tiff, RATIONAL sides", Tiff(false, 10, 10, 5), false, 0, 0},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, false, 0, 0},
        {"empty", Bytes{}, false, 0, 0},
        {"png cut in its header", Bytes(png.begin(), png.begin() + 20), false, 0, 0},
        {"jpeg, 400 fill bytes before its frame", Jpeg(65000, 65000, 0xC0, false, 400), true, 65000, 65000},
        {"jpeg, 300 segments before its frame", Jpeg(640, 480, 0xC0, false, 2, 300), true, 640, 480},
        {"bigtiff, LONG8 sides", BigTiff(70000, 60000), true, 70000, 60000},
        {"icon holding a png", IconWithPng(65000, 65000), true, 65000, 65000},
        {"icon of bitmaps", IconWithPng(8, 8), true, 16, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryByteSource source(c.bytes.data(), c.bytes.size());
        uint32_t width = 1, height = 1;
        EXPECT_EQ(ReadClaimedSize(source, width, height), c.read);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
    }
}

// A file refused before any decoder: it claims more than the bound, or it
// starts as a picture format and shows no size within the reader's bounds.
TEST(PictureHeader, RefusesClaimsOverTheBoundAndHeadersWithoutASize) {
    struct Case { Bytes bytes; bool refused; };
    const Bytes jpeg = Jpeg(100, 100);
    const Case cases[] = {
        {Png(16384, 16384), false},   // exactly the bound
        {Png(16384, 16385), true},    // one row over it
        {Png(0xFFFFFFFF, 0xFFFFFFFF), true},  // no overflow in the product
        {Jpeg(65000, 65000), true},
        {Jpeg(65000, 65000, 0xC0, false, 400), true},
        {Tiff(true, 100000, 90000, 4), true},
        {BigTiff(70000, 60000), true},
        {IconWithPng(65000, 65000), true},
        {Gif(65535, 65535), true},
        {Bmp(40, 60000, -60000), true},
        {Jpeg(100, 100, 0xC0, false, 70000), true},         // fill beyond 64 KiB
        {Bytes(jpeg.begin(), jpeg.begin() + 200), true},    // no frame header
        {Tiff(false, 10, 10, 5), true},                     // sides of no size type
        {Bytes{0, 0, 1, 0, 0, 0}, true},                    // an icon of no image
        {Jpeg(4000, 3000), false},
        {IconWithPng(256, 256), false},
        {Bytes{'n', 'o', 'n', 'e'}, false},  // no picture format: the decoder decides
    };
    for (const Case& c : cases) {
        MemoryByteSource source(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(RefusedByHeader(source), c.refused) << &c - cases;
    }
}
