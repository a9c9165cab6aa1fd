#include "config/PictureListRules.h"

#include <algorithm>
#include <array>

#include "collection/CollectionRules.h"
#include "common/LatinText.h"
#include "settings/SettingsFormat.h"

namespace WorkSpace {

size_t VisibleEntryCount(size_t pictureCount) { return std::min(pictureCount, kMaxListEntries); }

int32_t SelectionAfterRemoval(int32_t removed, size_t remaining) {
    const int32_t above = std::max(removed - 1, int32_t{0});
    return size_t(above) < remaining ? above : -1;
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

std::u16string DroppedEntry(std::u16string_view path, bool isFolder) {
    if (isFolder) return AsFolderEntry(path);
    return IsDroppablePicture(path) ? std::u16string(path) : std::u16string();
}

std::u16string ListEntryText(std::u16string_view entry, std::u16string_view folderLabel) {
    if (!IsFolderEntry(entry)) return std::u16string(entry);
    return std::u16string(folderLabel) + u' ' + std::u16string(entry);
}

static size_t Utf8Length(std::u16string_view text) {
    size_t bytes = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) {
            bytes += 4;
            ++i;
        } else {
            bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        }
    }
    return bytes;
}

bool FitsSettingsLine(std::u16string_view path, size_t codePageBytes) {
    return codePageBytes <= kSettingsLineBytes && Utf8Length(path) <= kSettingsLineBytes;
}

}  // namespace WorkSpace
