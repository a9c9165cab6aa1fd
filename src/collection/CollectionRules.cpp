#include "collection/CollectionRules.h"

#include <algorithm>
#include <array>

#include "common/LatinText.h"

namespace WorkSpace {
namespace {

// A reparse tag with this bit names another place (IsReparseTagNameSurrogate).
constexpr uint32_t kNameSurrogateBit = 0x20000000;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

}  // namespace

bool IsFolderEntry(std::u16string_view listed) {
    return !listed.empty() && IsSeparator(listed.back());
}

std::u16string AsFolderEntry(std::u16string_view folder) {
    while (!folder.empty() && IsSeparator(folder.back())) folder.remove_suffix(1);
    return std::u16string(folder) + u'\\';
}

bool IsCollectablePicture(std::u16string_view name) {
    const size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) return false;
    const std::u16string_view extension = name.substr(dot + 1);
    static constexpr std::array<std::u16string_view, 10> kKnown = {
        u"bmp", u"dib", u"jpg", u"jpeg", u"jpe", u"jfif", u"png", u"gif", u"tif", u"tiff"};
    return std::any_of(kKnown.begin(), kKnown.end(),
                       [&](std::u16string_view known) { return EqualsLatinNoCase(extension, known); });
}

// A reparse point whose tag is unknown (0) counts as a link: entering it
// could loop. Other reparse points (a cloud or deduplicated file, whose data
// is here) are the files themselves.
EntryAction ClassifyEntry(std::u16string_view name, uint32_t attributes, uint32_t reparseTag) {
    if (name.empty() || name == u"." || name == u"..") return EntryAction::Skip;
    if (attributes & (kAttributeHidden | kAttributeSystem)) return EntryAction::Skip;
    if ((attributes & kAttributeReparsePoint) &&
        (reparseTag == 0 || (reparseTag & kNameSurrogateBit))) {
        return EntryAction::Skip;
    }
    if (attributes & kAttributeDirectory) return EntryAction::Enter;
    if (attributes & (kAttributeOffline | kAttributeRecallOnOpen | kAttributeRecallOnDataAccess)) {
        return EntryAction::Skip;
    }
    return IsCollectablePicture(name) ? EntryAction::Take : EntryAction::Skip;
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (path.empty() || !IsSeparator(path.back())) path += u'\\';
    return path += name;
}

}  // namespace WorkSpace
