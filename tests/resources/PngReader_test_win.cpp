// PNG files decoded row by row by libspng and folded at texture size must
// look as GDI+ decodes and redraws them, for every colour type and bit depth,
// transparency included, and every file libspng refuses must give exactly
// what GDI+ gives. The files are written here (PngWriter.h).
#include "resources/PngReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "resources/PngWriter.h"
#include "resources/TestPictures_win.h"
#include "scene/TextureEntry.h"

using namespace WorkSpace;
using namespace WorkSpace::Testing;
using namespace testpictures;

namespace {

// What a test picture's transparency is.
enum class Clear { None, Alpha, Key };

struct PngCase {
    const char* name;
    int width, height, colourType, bitDepth;
    Clear clear;
};

// A smooth picture with no symmetry, 0 to 1 in each channel.
double Wave(int channel, int x, int y, int width, int height) {
    const double u = double(x) / width, v = double(y) / height;
    switch (channel) {
    case 0: return 0.5 + 0.4 * std::sin(5.0 * u + 1.5 * v);
    case 1: return 0.5 + 0.4 * std::sin(3.0 * v - 2.0 * u + 1.0);
    default: return 0.5 + 0.4 * std::cos(4.0 * (u * u + v));
    }
}

// The form and samples of a case. With alpha, the left sixth is fully
// transparent and white, which must come out black, and the rest fades from
// 40 to 255; with a colour key, the left sixth has the key's colour.
std::vector<uint8_t> EncodeCase(const PngCase& c) {
    PngForm form;
    form.width = c.width;
    form.height = c.height;
    form.colourType = c.colourType;
    form.bitDepth = c.bitDepth;
    const uint32_t top = (1u << c.bitDepth) - 1;
    const int channels = PngChannels(c.colourType);
    const bool grey = c.colourType == 0 || c.colourType == 4;
    const uint32_t key = top / 3;
    if (c.colourType == 3) {
        for (uint32_t k = 0; k <= top; ++k) {
            const double t = double(k) / top;
            form.palette.insert(form.palette.end(), {uint8_t(255 * t), uint8_t(200 - 150 * t),
                                                     uint8_t(60 + 120 * t * t)});
        }
        // Entry 0 clear, then alpha rising by 4 a step up to opaque.
        if (c.clear == Clear::Alpha) {
            for (uint32_t k = 0; k <= top && k < 64; ++k) form.tRNS.push_back(uint8_t(4 * k));
        }
    } else if (c.clear == Clear::Key) {
        for (int i = 0; i < (grey ? 1 : 3); ++i) form.tRNS.insert(form.tRNS.end(), {uint8_t(key >> 8), uint8_t(key)});
    }
    const bool band = c.clear != Clear::None;
    return EncodePng(form, [&](int x, int y, int channel) -> uint32_t {
        const bool inBand = band && x < c.width / 6;
        if (c.colourType == 3) {
            return inBand ? 0 : uint32_t(std::lround(top * Wave(0, x, y, c.width, c.height)));
        }
        if (channel == channels - 1 && (c.colourType == 4 || c.colourType == 6)) {
            return inBand ? 0 : uint32_t(std::lround(top * (40 + 215 * Wave(2, x, y, c.width, c.height)) / 255));
        }
        if (inBand) return c.clear == Clear::Key ? key : top;
        return uint32_t(std::lround(top * Wave(grey ? 1 : channel, x, y, c.width, c.height)));
    });
}

}  // namespace

TEST(PngReading, RowByRowTexturesLookAsGdiplusTextures) {
    ASSERT_TRUE(StartImageServices());
    const TempFolder folder(L"png");
    const PngCase cases[] = {
        {"grey 1-bit", 300, 200, 0, 1, Clear::None},
        {"grey 2-bit", 300, 200, 0, 2, Clear::None},
        {"grey 4-bit", 300, 200, 0, 4, Clear::None},
        {"grey 8-bit", 640, 480, 0, 8, Clear::None},
        {"grey 16-bit, colour key", 640, 480, 0, 16, Clear::Key},
        {"RGB 8-bit wallpaper", 1920, 1080, 2, 8, Clear::None},
        {"RGB 16-bit", 800, 600, 2, 16, Clear::None},
        {"RGB 8-bit, colour key", 500, 400, 2, 8, Clear::Key},
        {"palette 1-bit", 300, 200, 3, 1, Clear::None},
        {"palette 2-bit", 300, 200, 3, 2, Clear::None},
        {"palette 4-bit", 300, 200, 3, 4, Clear::None},
        {"palette 8-bit with transparency", 700, 500, 3, 8, Clear::Alpha},
        {"grey and alpha 8-bit", 400, 300, 4, 8, Clear::Alpha},
        {"grey and alpha 16-bit", 400, 300, 4, 16, Clear::Alpha},
        {"RGBA 8-bit, odd size", 1023, 767, 6, 8, Clear::Alpha},
        {"RGBA 16-bit", 640, 480, 6, 16, Clear::Alpha},
        {"1 x 1", 1, 1, 2, 8, Clear::None},
        {"10000 x 10", 10000, 10, 2, 8, Clear::None},
    };
    for (const PngCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> bytes = EncodeCase(c);
        const std::wstring path = folder.path + L"picture.png";
        ASSERT_TRUE(WriteBytes(path, bytes.data(), bytes.size()));

        // The row decoder really takes the file: nothing falls back unseen.
        MemoryByteSource source(bytes.data(), bytes.size());
        PngReader reader;
        ASSERT_TRUE(reader.Open(source));
        const int32_t width = PowerOfTwoSide(c.width), height = PowerOfTwoSide(c.height);
        std::vector<uint8_t> texels(size_t(width) * size_t(height) * 4);
        EXPECT_TRUE(reader.ReadFolded(width, height, texels.data(), width * 4));
        ExpectFastLooksAsGdiplus(path, PowerOfTwoSide, c.width, c.height);
    }
}

TEST(PngReading, RefusedPngsGiveExactlyWhatGdiplusGives) {
    ASSERT_TRUE(StartImageServices());
    const TempFolder folder(L"png");
    const std::vector<uint8_t> picture = EncodeCase({"", 640, 480, 6, 8, Clear::Alpha});
    const std::vector<uint8_t> truncated(picture.begin(), picture.begin() + long(picture.size() * 6 / 10));
    // The last pixel chunk's checksum, just before the 12 bytes of the end chunk.
    std::vector<uint8_t> badChecksum = picture;
    badChecksum[badChecksum.size() - 13] ^= 0x40;
    PngForm interlacedForm;
    interlacedForm.width = 300;
    interlacedForm.height = 200;
    interlacedForm.colourType = 2;
    interlacedForm.interlaced = true;
    const std::vector<uint8_t> interlaced = EncodePng(interlacedForm, [](int x, int y, int channel) {
        return uint32_t(std::lround(255 * Wave(channel, x, y, 300, 200)));
    });
    struct Case { const char* name; const std::vector<uint8_t>* bytes; bool opens; };
    const Case cases[] = {
        {"truncated", &truncated, true},  // its header is whole; its data ends early
        {"bad checksum", &badChecksum, true},
        {"interlaced", &interlaced, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = folder.path + L"refused.png";
        ASSERT_TRUE(WriteBytes(path, c.bytes->data(), c.bytes->size()));
        MemoryByteSource source(c.bytes->data(), c.bytes->size());
        PngReader reader;
        EXPECT_EQ(reader.Open(source), c.opens);
        if (c.opens) {
            std::vector<uint8_t> texels(256 * 256 * 4);
            EXPECT_FALSE(reader.ReadFolded(256, 256, texels.data(), 256 * 4));
        }
        ExpectExactlyAsGdiplus(path, PowerOfTwoSide);
    }
}
