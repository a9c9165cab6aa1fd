#include "resources/PictureOrientation_win.h"

#include <vector>

#include "common/Handles_win.h"
#include "resources/ExifOrientation.h"

namespace WorkSpace {

int32_t ReadPictureOrientation(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 1;
    std::vector<uint8_t> head(kExifScanBytes);
    DWORD read = 0;
    if (!ReadFile(file.Get(), head.data(), DWORD(head.size()), &read, nullptr)) return 1;
    return ReadExifOrientation(head.data(), read);
}

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

}  // namespace WorkSpace
