#include "settings/StartupResources_win.h"

#include <windows.h>

#include <memory>
#include <new>

#include "common/WideText_win.h"
#include "resources/PackageMembers.h"
#include "resources/ZipReader.h"
#include "settings/Paths_win.h"
#include "settings/TextStorage.h"

namespace WorkSpace {

namespace {

// Decodes the language file and hands it to the table; false when there is
// nothing to hand (no memory, or no character decoded).
bool ParseLanguageFile(Translate::TextStorage& texts, const uint8_t* bytes, uint32_t count) {
    // UTF-8 never needs more UTF-16 units than it has bytes.
    std::unique_ptr<wchar_t[]> buffer(new (std::nothrow) wchar_t[count]);
    if (!buffer) return false;
    const int units = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes), int(count),
                                          buffer.get(), int(count));
    if (units <= 0) return false;
    texts.Parse(AsU16(std::wstring_view(buffer.get(), std::size_t(units))));
    return true;
}

}  // namespace

void LoadLanguageTexts(Translate::TextStorage& texts, ZipReader& reader, bool langRead, uint32_t lang) {
    const std::u16string_view member = LanguageFileMember(lang);
    if (!langRead || member.empty()) {
        texts.LoadDefaults();
        return;
    }
    try {
        uint32_t count = 0;
        const uint8_t* bytes = reader.ReadMember(member, count);
        // No file, an empty one or one that does not decode: the English texts.
        if (!bytes || count == 0 || !ParseLanguageFile(texts, bytes, count)) texts.LoadDefaults();
    } catch (const std::bad_alloc&) {
        // No memory for a text: the table keeps what it holds.
    }
    reader.FreeMember();
}

void LoadStartupResources() {
    // A second loading finds the reader open and keeps the package opened first.
    const std::wstring package = ModuleDirectory() + ToWide(kPackageFileName);
    ZipReader::Instance().Open(AsU16(package), kPackagePassword);
    uint32_t lang = 0;
    const bool langRead = ReadCurLang(lang);
    LoadLanguageTexts(Translate::TextStorage::Instance(), ZipReader::Instance(), langRead, lang);
}

}  // namespace WorkSpace
