#include "config/FileChooser_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cstddef>

#include "collection/CollectionRules.h"
#include "common/Handles_win.h"
#include "common/WideText_win.h"
#include "config/ChosenFiles.h"

namespace WorkSpace {

namespace {

// Characters the dialog may return: a folder and every chosen name. A longer
// selection makes the dialog fail, and nothing is added.
constexpr DWORD kFileBufferChars = 65536;
// Explorer style, multiple selection, existing files only.
constexpr DWORD kChooserFlags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
static_assert(kChooserFlags == 0x00081200, "the chooser's flags");
// The record as the platform's first explorer-style dialogs knew it, without
// the members later versions added: 76 bytes in a 32-bit process, 136 in a
// 64-bit one.
// The platform's OPENFILENAME_SIZE_VERSION_400W, as a constant.
constexpr DWORD kRecordBytes = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
static_assert(kRecordBytes == (sizeof(void*) == 4 ? 76 : 136), "the record's first version");

// The process's one open-file record and the buffers it points into. The file
// buffer is not cleared between uses: each use starts from the name the last
// one returned.
struct OpenFileRecord {
    OPENFILENAMEW record{};
    std::wstring filter;
    std::wstring initialFolder;  // empty until a multiple selection sets it
    std::vector<wchar_t> files = std::vector<wchar_t>(kFileBufferChars, L'\0');
};

OpenFileRecord& TheOpenFileRecord() {
    static OpenFileRecord record;
    return record;
}

}  // namespace

std::vector<std::wstring> ChoosePictureFiles(HWND owner, const wchar_t* filterText,
                                             const wchar_t* pattern) {
    OpenFileRecord& chooser = TheOpenFileRecord();
    chooser.filter = ToWide(FileFilterText(AsU16(filterText), AsU16(pattern)));
    OPENFILENAMEW& record = chooser.record;
    record = OPENFILENAMEW{};
    record.lStructSize = kRecordBytes;
    record.hwndOwner = owner;
    record.hInstance = GetModuleHandleW(nullptr);
    record.lpstrFilter = chooser.filter.c_str();
    record.lpstrFile = chooser.files.data();
    record.nMaxFile = kFileBufferChars;
    record.lpstrInitialDir = chooser.initialFolder.empty() ? nullptr : chooser.initialFolder.c_str();
    record.Flags = kChooserFlags;
    if (!GetOpenFileNameW(&record)) return {};

    std::u16string folder = ToU16(chooser.initialFolder);
    const std::vector<std::u16string> chosen =
        ParseChosenFiles(AsU16({chooser.files.data(), chooser.files.size()}), folder);
    chooser.initialFolder = ToWide(folder);
    std::vector<std::wstring> paths;
    paths.reserve(chosen.size());
    for (const auto& path : chosen) paths.push_back(ToWide(path));
    return paths;
}

std::vector<std::wstring> ChoosePictureFolder(HWND owner, const std::wstring& title) {
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    const UniqueTaskMemory chosen(SHBrowseForFolderW(&browse));
    wchar_t folder[MAX_PATH] = {};
    if (!chosen || !SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(chosen.Get()), folder) ||
        folder[0] == L'\0') {
        return {};
    }
    return {ToWide(AsFolderEntry(AsU16(folder)))};
}

}  // namespace WorkSpace
