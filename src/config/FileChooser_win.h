#pragma once
// The platform's open-file dialog behind both Add commands of the
// configuration dialog: one record per process, multiple selection, and the
// folder of the last multiple selection offered again next time.
#include <windows.h>

#include <string>
#include <vector>

namespace WorkSpace {

// The Add button offers GIF files; the list box's menu never did.
constexpr const wchar_t* kImageFilesText = L"Image Files";
constexpr const wchar_t* kAddButtonPattern = L"*.bmp;*.jpg;*.png;*.gif;*.tiff;*.tif";
constexpr const wchar_t* kListMenuPattern = L"*.bmp;*.jpg;*.png;*.tiff;*.tif";

// Returns the chosen files' full paths in the dialog's order; empty when the
// user cancelled or the dialog failed (a selection too long for its buffer).
std::vector<std::wstring> ChoosePictureFiles(HWND owner, const wchar_t* filterText,
                                             const wchar_t* pattern);

// Returns the folder the user chose in the platform's folder picker, in the
// form the list keeps a folder (ending in a backslash); empty when the user
// cancelled or chose no folder of the file system.
std::vector<std::wstring> ChoosePictureFolder(HWND owner, const std::wstring& title);

}  // namespace WorkSpace
