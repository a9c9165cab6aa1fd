// Photos whose EXIF data records an orientation come out upright: a picture
// whose four quadrants have four colours is stored turned for each value, and
// the decoded texture copy must show every quadrant where an upright picture has it.
#include <gtest/gtest.h>

#include <vector>

#include "resources/PictureDecoding_win.h"
#include "resources/TestPictures_win.h"

using namespace WorkSpace;

namespace {

constexpr int kUprightWidth = 64;   // pixels, so the texture is 128 x 64 (TwiceTheSide)
constexpr int kUprightHeight = 32;
int32_t TwiceTheSide(int32_t side) { return side * 2; }
constexpr uint32_t kQuadrants[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};

uint32_t UprightColour(int x, int y) {
    return kQuadrants[(y >= kUprightHeight / 2 ? 2 : 0) + (x >= kUprightWidth / 2 ? 1 : 0)];
}

// The upright pixel that stored pixel (sx, sy) shows, for a picture stored
// `w` x `h` with `orientation`.
void UprightOf(int orientation, int sx, int sy, int w, int h, int& ux, int& uy) {
    switch (orientation) {
    case 2: ux = w - 1 - sx; uy = sy; break;
    case 3: ux = w - 1 - sx; uy = h - 1 - sy; break;
    case 4: ux = sx; uy = h - 1 - sy; break;
    case 5: ux = sy; uy = sx; break;
    case 6: ux = h - 1 - sy; uy = sx; break;
    case 7: ux = h - 1 - sy; uy = w - 1 - sx; break;
    case 8: ux = sy; uy = w - 1 - sx; break;
    default: ux = sx; uy = sy; break;
    }
}

bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > 40 || d < -40) return false;
    }
    return true;
}

}  // namespace

TEST(PictureOrientation, EveryExifValueComesOutUpright) {
    const std::wstring folder = testpictures::MakeTempFolder(L"orientation");
    for (uint16_t orientation = 1; orientation <= 8; ++orientation) {
        const bool swapped = orientation >= 5;
        const int w = swapped ? kUprightHeight : kUprightWidth;
        const int h = swapped ? kUprightWidth : kUprightHeight;
        const std::wstring path = folder + L"photo" + std::to_wstring(orientation) + L".jpg";
        ASSERT_TRUE(testpictures::SavePicture(path, L"image/jpeg", w, h, [&](int x, int y) {
            int ux = 0, uy = 0;
            UprightOf(orientation, x, y, w, h, ux, uy);
            return UprightColour(ux, uy);
        }));
        std::vector<uint8_t> bytes = testpictures::ReadBytes(path);
        const std::vector<uint8_t> exif = testpictures::ExifSegment(orientation);
        bytes.insert(bytes.begin() + 2, exif.begin(), exif.end());
        ASSERT_TRUE(testpictures::WriteBytes(path, bytes.data(), bytes.size()));

        ImageHolder holder;
        ASSERT_TRUE(LoadPictureFile(holder, path, TwiceTheSide)) << orientation;
        EXPECT_EQ(holder.width, kUprightWidth) << orientation;
        EXPECT_EQ(holder.height, kUprightHeight) << orientation;
        PixelLock pixels(holder.image.Get(), PixelFormat32bppARGB, Gdiplus::ImageLockModeRead);
        ASSERT_TRUE(pixels);
        ASSERT_EQ(pixels.Width(), 128);
        ASSERT_EQ(pixels.Height(), 64);
        for (int q = 0; q < 4; ++q) {
            const int x = (q % 2) * 64 + 32, y = (q / 2) * 32 + 16;
            const auto* row = reinterpret_cast<const uint32_t*>(pixels.Pixels() + y * pixels.Stride());
            EXPECT_TRUE(Near(row[x], kQuadrants[q]))
                << "orientation " << orientation << " quadrant " << q << std::hex << " got "
                << row[x];
        }
    }
    testpictures::RemoveTempFolder(folder);
}
