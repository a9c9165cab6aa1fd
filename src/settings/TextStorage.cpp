#include "settings/TextStorage.h"

namespace WorkSpace::Translate {

namespace {

// Texts 23, 24, 26 and 32..44 belong to sibling savers of the family and are
// never shown; they keep their places so that the later numbers hold.
constexpr std::u16string_view kBuiltInTexts[kBuiltInTextCount] = {
    u"\u041Ek",  // the OK button: a Cyrillic capital O, then a Latin k, as it always was
    u"Cancel",
    u"Preview",
    u"Remove",
    u"Remove All",
    u"Show Images",
    u"Select Scheme",
    u"Files",
    u"Select",
    u"Options",
    u"Resolution",
    u"About",
    u"Screen Saver",
    u"Version",
    u"Language",
    u"Open",
    u"Close",
    u"Delete",
    u"Add",
    u"Not Supported",
    u"Video acceleration disable",
    u"Please. Enabl video acceleration",
    u"Options",
    u"Quillmere Lanterns Screen Saver",
    u"Ostravel Tides Screen Saver",
    u"Veltrano Screen Saver",
    u"Brindlecove Orchard Screen Saver",
    u"Rotation",
    u"Falling",
    u"Approach",
    u"Motion",
    u"Fall Rotation",
    u"Lantern Count",
    u"Drift Speed",
    u"Glow Strength",
    u"Wave Height",
    u"Foam Amount",
    u"Leaf Density",
    u"Wind Gusts",
    u"Dusk Amber",
    u"Harbour Night",
    u"Morning Mist",
    u"Orchard Green",
    u"Frost Blue",
    u"Ember Red",
    u"The computer configuration does not meet minimal system requirements",
    u"Hardware acceleration is not enabled",
    u"Version 2.0 shaders are not supported",
    u"Version 1.0 shaders are not supported",
    u"Please install the latest drivers for your video card from the card manufacturer web site",
    u"DirectX 9.0c or later is not installed. Please update your DirectX version from the Microsoft web site.",
    u"The current display resolution is not supported.",
    u"Add your images or photos here.",
    u"Click Add or just drag and drop files to this window.",
    u"Add Folder\u2026",
    u"Folder:",
};

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

}  // namespace

TextStorage& TextStorage::Instance() {
    static TextStorage storage;
    return storage;
}

std::u16string TextStorage::GetText(int32_t number) const {
    const uint32_t index = uint32_t(number);
    return index < texts_.size() ? texts_[index] : std::u16string();
}

void TextStorage::LoadDefaults() { texts_.insert(texts_.end(), std::begin(kBuiltInTexts), std::end(kBuiltInTexts)); }

// The first unit is the byte-order mark and is skipped unseen; the last unit
// is never examined, so a file must end with CR LF after its last text.
void TextStorage::Parse(std::u16string_view decoded) {
    std::u16string line;
    for (std::size_t at = 1; at + 1 < decoded.size(); ++at) {
        const char16_t unit = decoded[at];
        if (unit == kCr && decoded[at + 1] == kLf) {
            texts_.push_back(std::move(line));
            line.clear();
        } else if (unit != kLf) {
            line.push_back(unit);
        }
    }
    if (texts_.empty()) LoadDefaults();
}

}  // namespace WorkSpace::Translate
