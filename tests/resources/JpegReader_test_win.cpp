// JPEG files decoded by libjpeg-turbo at the size they fly must look as GDI+
// decodes them at full size, and every file libjpeg-turbo refuses must give
// exactly what GDI+ gives. The JPEG files are written here with libjpeg's own
// encoder, which can make every variant cameras and editors write.
#include "resources/JpegReader_win.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>
#include <jpeglib.h>

#include "resources/PictureDecoding_win.h"
#include "resources/TestPictures_win.h"

using namespace WorkSpace;
using namespace testpictures;

namespace {

// How a test JPEG is written.
struct JpegForm {
    int width, height;   // pixels, as stored
    int components;      // 1 grey, 3 colour (stored as YCbCr), 4 CMYK
    int lumaH, lumaV;    // sampling of the brightness: 1 1 = 4:4:4, 2 2 = 4:2:0
    bool progressive;
    int restartRows;     // 0: no restart markers
    uint16_t orientation;  // EXIF value; 0: no EXIF data
};

// A smooth picture with no symmetry, so that a wrong turn or flip shows. Only
// the asked channel's wave is worked out: a 12-megapixel picture would
// otherwise take seconds of the test's time limit under Wine.
uint8_t Channel(int channel, int x, int y, const JpegForm& form) {
    const double u = double(x) / form.width, v = double(y) / form.height;
    double wave = 0.0;
    switch (channel) {
    case 0: wave = std::sin(5.0 * u + 1.5 * v); break;
    case 1: wave = std::sin(3.0 * v - 2.0 * u + 1.0); break;
    case 2: wave = std::cos(4.0 * (u * u + v)); break;
    default: wave = std::sin(2.0 * u * v) - 0.5; break;
    }
    return uint8_t(128.0 + 100.0 * wave);
}

std::vector<uint8_t> EncodeJpeg(const JpegForm& form) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(form.width);
    info.image_height = JDIMENSION(form.height);
    info.input_components = form.components;
    info.in_color_space = form.components == 1 ? JCS_GRAYSCALE
                          : form.components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    info.comp_info[0].h_samp_factor = form.lumaH;
    info.comp_info[0].v_samp_factor = form.lumaV;
    if (form.progressive) jpeg_simple_progression(&info);
    info.restart_in_rows = form.restartRows;
    jpeg_start_compress(&info, TRUE);
    if (form.orientation != 0) {
        const std::vector<uint8_t> exif = ExifSegment(form.orientation);
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data() + 4, unsigned(exif.size() - 4));
    }
    std::vector<uint8_t> row(size_t(form.width) * form.components);
    for (int y = 0; y < form.height; ++y) {
        for (int x = 0; x < form.width; ++x) {
            for (int c = 0; c < form.components; ++c) {
                row[size_t(x) * form.components + c] = Channel(c, x, y, form);
            }
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

// Texture sides as pictures fly: 128 below 400 pixels, 256 from there.
int32_t FlightSide(int32_t side) { return side < 400 ? 128 : 256; }

}  // namespace

TEST(JpegReading, ScaledDecodesLookAsGdiplusFullSizeDecodes) {
    ASSERT_TRUE(StartImageServices());
    const TempFolder folder(L"jpeg");
    std::vector<JpegForm> forms = {
        {4000, 3000, 3, 2, 2, false, 0, 0},  // a camera photo, 4:2:0
        {4000, 3000, 3, 2, 2, true, 0, 0},   // progressive
        {4001, 2999, 3, 1, 1, false, 0, 0},  // 4:4:4, partial blocks
        {1023, 767, 3, 2, 1, false, 0, 0},   // 4:2:2
        {17, 4000, 1, 1, 1, false, 0, 0},    // grey, one thin column
        {1600, 1200, 3, 2, 2, false, 2, 0},  // restart markers
        {300, 200, 3, 2, 2, false, 0, 0},    // decoded at 6/8
    };
    for (uint16_t orientation = 1; orientation <= 8; ++orientation) {
        const bool swapped = orientation >= 5;
        forms.push_back({swapped ? 960 : 1280, swapped ? 1280 : 960, 3, 2, 2, false, 0,
                         orientation});
    }
    for (const JpegForm& form : forms) {
        SCOPED_TRACE(testing::Message() << form.width << "x" << form.height << " components "
                                        << form.components << " progressive "
                                        << form.progressive << " orientation "
                                        << form.orientation);
        const std::wstring path = folder.path + L"photo.jpg";
        const std::vector<uint8_t> bytes = EncodeJpeg(form);
        ASSERT_TRUE(WriteBytes(path, bytes.data(), bytes.size()));

        // The scaled path really decodes the file: nothing falls back unseen.
        JpegReader reader;
        ASSERT_TRUE(reader.Open(path, form.orientation, FlightSide));
        std::vector<uint8_t> pixels(size_t(reader.Plan().outputWidth) *
                                    size_t(reader.Plan().outputHeight) * 4);
        EXPECT_TRUE(reader.ReadPixels(pixels.data(), reader.Plan().outputWidth * 4));
        const bool swapped = form.orientation >= 5;
        ExpectFastLooksAsGdiplus(path, FlightSide, swapped ? form.height : form.width,
                                 swapped ? form.width : form.height);
    }
}

TEST(JpegReading, RefusedJpegsGiveExactlyWhatGdiplusGives) {
    ASSERT_TRUE(StartImageServices());
    const TempFolder folder(L"jpeg");
    const std::vector<uint8_t> photo = EncodeJpeg({640, 480, 3, 2, 2, false, 0, 0});
    std::vector<uint8_t> truncated(photo.begin(), photo.begin() + long(photo.size() * 6 / 10));
    const std::vector<uint8_t> cmyk = EncodeJpeg({64, 48, 4, 1, 1, false, 0, 0});
    // A small JPEG whose frame header claims 65000 x 65000 pixels.
    std::vector<uint8_t> huge = EncodeJpeg({64, 48, 3, 2, 2, false, 0, 0});
    for (size_t at = 2; at + 9 < huge.size(); ++at) {
        if (huge[at] == 0xFF && huge[at + 1] == 0xC0) {
            huge[at + 5] = 0xFD;  // height, then width, big-endian: 65000 = 0xFDE8
            huge[at + 6] = 0xE8;
            huge[at + 7] = 0xFD;
            huge[at + 8] = 0xE8;
            break;
        }
    }
    struct Case { const wchar_t* name; const std::vector<uint8_t>* bytes; bool opens; };
    const Case cases[] = {
        {L"truncated.jpg", &truncated, true},  // its header is whole; its data ends early
        {L"cmyk.jpg", &cmyk, false},
        {L"huge.jpg", &huge, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
        const std::wstring path = folder.path + c.name;
        ASSERT_TRUE(WriteBytes(path, c.bytes->data(), c.bytes->size()));
        JpegReader reader;
        EXPECT_EQ(reader.Open(path, 1, FlightSide), c.opens);
        if (c.opens) {
            std::vector<uint8_t> pixels(size_t(reader.Plan().outputWidth) *
                                        size_t(reader.Plan().outputHeight) * 4);
            EXPECT_FALSE(reader.ReadPixels(pixels.data(), reader.Plan().outputWidth * 4));
        }
        ExpectExactlyAsGdiplus(path, FlightSide);
    }
}
