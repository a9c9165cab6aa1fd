#include "config/PictureListRules.h"

#include <algorithm>
#include <array>

namespace WorkSpace {

size_t VisibleEntryCount(size_t pictureCount) { return std::min(pictureCount, kMaxListEntries); }

int32_t SelectionAfterRemoval(int32_t removed, size_t remaining) {
    const int32_t above = std::max(removed - 1, int32_t{0});
    return size_t(above) < remaining ? above : -1;
}

static char16_t LowerLatin(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

static bool EqualsLatinNoCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return LowerLatin(x) == LowerLatin(y); });
}

bool IsDroppablePicture(std::u16string_view path) {
    // Drive, folder and name end at the last separator the runtime's path
    // splitting knows: backslash, slash, or the drive's colon.
    const size_t nameStart = path.find_last_of(u"\\/:");
    const std::u16string_view name =
        nameStart == std::u16string_view::npos ? path : path.substr(nameStart + 1);
    const size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) return false;
    const std::u16string_view extension = name.substr(dot);
    static constexpr std::array<std::u16string_view, 5> kAccepted = {u".jpg", u".png", u".tiff",
                                                                     u".bmp", u".tif"};
    return std::any_of(kAccepted.begin(), kAccepted.end(), [&](std::u16string_view accepted) {
        return EqualsLatinNoCase(extension, accepted);
    });
}

bool FitsSettingsLine(size_t encodedBytes) {
    // The line feed that ends the path's line counts toward the limit.
    return encodedBytes + 1 <= kMaxSettingsLineBytes;
}

}  // namespace WorkSpace
