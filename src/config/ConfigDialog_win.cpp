#include "config/ConfigDialog_win.h"

#include <shellapi.h>

#include <array>
#include <string>

#include "common/DpiScale.h"
#include "common/Handles_win.h"
#include "common/WindowDpi_win.h"
#include "common/WideText_win.h"
#include "common/WindowText_win.h"
#include "config/DialogIds.h"
#include "config/DialogScaling_win.h"
#include "config/FileChooser_win.h"
#include "config/PictureListBox_win.h"
#include "config/PictureListRules.h"
#include "config/PreviewDialog_win.h"
#include "scene/SceneBuild_win.h"
#include "settings/Paths_win.h"
#include "settings/PictureSettings_win.h"
#include "settings/StartupResources_win.h"
#include "settings/TextIds.h"
#include "settings/TextStorage_win.h"

namespace WorkSpace {

namespace {

constexpr int32_t kSchemeCount = 5;  // motion schemes 0..4 in the scheme box
// Pixels of a 100 % display left of and above the screen's centre where the
// dialog's corner goes.
constexpr int kPlacementOffset = 100;
// Sent when the dialog has moved to a monitor of another DPI (Windows 8.1 on).
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

// The executable carries no dialog template of this number: asking for it
// fails at once, and that failure is the configuration run's exit code.
constexpr int kMissingTemplate = 2003;

struct ConfigDialogState {
    HINSTANCE instance = nullptr;  // the module holding the dialog templates
    HWND window = nullptr;      // set on opening and on Preview, never cleared
    std::wstring settingsPath;  // taken once on opening: the file OK writes
    DialogScaling scaling;      // the layout it opened with, for a change of DPI
};

ConfigDialogState& State() {
    static ConfigDialogState state;
    return state;
}

HWND ListBoxOf(HWND dialog) { return GetDlgItem(dialog, IDC_PICTURE_LIST); }

// Refills the list box from `pictures` so that entry i is always picture i,
// and selects `selection` when the list has that entry.
void ShowPictures(HWND listBox, int32_t selection) {
    if (!listBox) return;
    const auto& pictures = Settings().pictures;
    SendMessageW(listBox, WM_SETREDRAW, FALSE, 0);
    SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
    const size_t shown = VisibleEntryCount(pictures.size());
    for (size_t i = 0; i < shown; ++i) {
        SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pictures[i].c_str()));
    }
    if (selection >= 0 && size_t(selection) < shown) {
        SendMessageW(listBox, LB_SETCURSEL, WPARAM(selection), 0);
    }
    SendMessageW(listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox, nullptr, TRUE);
}

int32_t Selection(HWND listBox) {
    return int32_t(SendMessageW(listBox, LB_GETCURSEL, 0, 0));
}

// A path the settings file cannot hold on one line would come back as two
// bogus pictures; such a path is not taken.
bool FitsSettingsFile(const std::wstring& path) {
    const int bytes = WideCharToMultiByte(CP_THREAD_ACP, 0, path.c_str(), int(path.size()),
                                          nullptr, 0, nullptr, nullptr);
    return (bytes > 0 || path.empty()) && FitsSettingsLine(AsU16(path), size_t(bytes));
}

void SelectScheme(HWND dialog, int32_t scheme) {
    const bool known = scheme >= 0 && scheme < kSchemeCount;
    SendDlgItemMessageW(dialog, IDC_SCHEME_BOX, CB_SETCURSEL, known ? WPARAM(scheme) : WPARAM(-1), 0);
}

void PlaceDialog(HWND dialog) {
    RECT frame{};
    GetWindowRect(dialog, &frame);
    const int offset = ScaleForDpi(kPlacementOffset, DpiOfWindow(dialog));
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - offset;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - offset;
    MoveWindow(dialog, x, y, frame.right - frame.left, frame.bottom - frame.top, TRUE);
}

// Puts the translated texts into the dialog's controls, title and scheme box.
void ApplyDialogTexts() {
    const HWND dialog = State().window;
    if (!dialog) return;
    using namespace Translate;
    static constexpr std::array<std::pair<int, TextId>, 8> kControlTexts = {{
        {IDC_ADD, kTextAdd}, {IDC_REMOVE, kTextRemove}, {IDC_REMOVE_ALL, kTextRemoveAll},
        {IDC_PREVIEW, kTextPreview}, {IDOK, kTextOk}, {IDCANCEL, kTextCancel},
        {IDC_SCHEME_LABEL, kTextSelectScheme}, {IDC_FILES_GROUP, kTextFiles},
    }};
    for (const auto& [control, number] : kControlTexts) {
        SetDlgItemTextW(dialog, control, Text(number).c_str());
    }
    SendDlgItemMessageW(dialog, IDC_SCHEME_BOX, CB_RESETCONTENT, 0, 0);
    for (int32_t scheme = 0; scheme < kSchemeCount; ++scheme) {
        SendDlgItemMessageW(dialog, IDC_SCHEME_BOX, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(Text(TextId(kTextFirstScheme + scheme)).c_str()));
    }
    SetWindowTextW(dialog, Text(kTextSaverTitle).c_str());
}

BOOL OnInitDialog(HWND dialog) {
    State().window = dialog;
    LoadStartupResources();
    ApplyDialogTexts();
    DragAcceptFiles(dialog, TRUE);
    InstallPictureListBox(ListBoxOf(dialog));
    SendDlgItemMessageW(dialog, IDC_SCHEME_BOX, CB_SETCURSEL, 0, 0);
    PlaceDialog(dialog);
    State().scaling.Record(dialog);
    State().settingsPath = SettingsFilePath();
    if (Settings().pictures.empty()) Settings().Load(State().settingsPath);
    ShowPictures(ListBoxOf(dialog), -1);
    SelectScheme(dialog, Settings().Scheme());
    return TRUE;  // the focus goes to the first tab stop, the list
}

// Tells the user in the platform's own words why the settings were not saved,
// or by the error's number where the platform has no words for it.
void ReportFailedSave(HWND dialog, DWORD error) {
    wchar_t* message = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    UniqueLocal owner(message);
    const std::wstring text = message ? std::wstring(message) : L"Error " + std::to_wstring(error);
    MessageBoxW(dialog, text.c_str(), WindowText(dialog).c_str(), MB_OK | MB_ICONERROR);
}

void OnOk(HWND dialog) {
    const auto scheme = int32_t(SendDlgItemMessageW(dialog, IDC_SCHEME_BOX, CB_GETCURSEL, 0, 0));
    Settings().SetScheme(scheme);
    SetLastError(ERROR_SUCCESS);
    if (!Settings().Save(State().settingsPath)) {
        // Nothing was stored: the dialog stays, so the user can retry or cancel.
        const DWORD error = GetLastError();
        ReportFailedSave(dialog, error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
        return;
    }
    BuildScene(State().settingsPath, false);
    EndDialog(dialog, IDOK);
}

void OnPreview(HWND dialog) {
    State().window = dialog;
    DialogBoxParamW(State().instance, MAKEINTRESOURCEW(IDD_PREVIEW_DIALOG), dialog,
                    PreviewDialogProc, 0);
}

BOOL OnCommand(HWND dialog, WORD id) {
    switch (id) {
    case IDOK:
        OnOk(dialog);
        return TRUE;
    case IDCANCEL:  // also Escape and the close box
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case IDC_ADD:
        AddPictures(ListBoxOf(dialog), ChoosePictureFiles(dialog, kImageFilesText, kAddButtonPattern));
        return FALSE;
    case IDC_REMOVE:
        RemoveSelectedPicture(ListBoxOf(dialog));
        return FALSE;
    case IDC_REMOVE_ALL:
        RemoveAllPictures(ListBoxOf(dialog));
        return FALSE;
    case IDC_PREVIEW:
        OnPreview(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

struct DropTraits {
    using Handle = HDROP;
    static Handle Empty() { return nullptr; }
    static void Release(Handle h) { DragFinish(h); }
};
using UniqueDrop = UniqueHandle<DropTraits>;

void OnDropFiles(HWND dialog, UniqueDrop owner) {
    const HDROP drop = owner.Get();
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> accepted;
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(size_t(DragQueryFileW(drop, i, nullptr, 0)) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), UINT(path.size())));
        if (IsDroppablePicture(AsU16(path))) accepted.push_back(std::move(path));
    }
    owner.Reset();
    AddPictures(ListBoxOf(dialog), accepted);
    InvalidateRect(ListBoxOf(dialog), nullptr, TRUE);
    InvalidateRect(dialog, nullptr, TRUE);
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam));
        case WM_DROPFILES:
            OnDropFiles(dialog, UniqueDrop(reinterpret_cast<HDROP>(wParam)));
            return FALSE;
        case kDpiChanged:
            return lParam && State().scaling.Apply(dialog, LOWORD(wParam),
                                                   *reinterpret_cast<const RECT*>(lParam));
        default:
            return FALSE;
        }
    } catch (...) {
        // Out of memory while editing the list: the edit is dropped, the dialog lives on.
        return FALSE;
    }
}

}  // namespace

int ShowConfigDialog(HINSTANCE instance, HWND parent) {
    State().instance = instance;
    // Shown without an owner: the window named on the command line is not made one.
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_CONFIG_DIALOG), nullptr, ConfigDialogProc, 0);
    // Windows has always seen -1 from this run mode, after OK as after Cancel.
    return int(DialogBoxParamW(instance, MAKEINTRESOURCEW(kMissingTemplate), parent,
                               ConfigDialogProc, 0));
}

HWND ConfigDialogWindow() { return State().window; }

void AddPictures(HWND listBox, const std::vector<std::wstring>& paths) {
    auto& pictures = Settings().pictures;
    for (const auto& path : paths) {
        if (FitsSettingsFile(path)) pictures.push_back(path);
    }
    ShowPictures(listBox, listBox ? Selection(listBox) : -1);
}

void RemoveSelectedPicture(HWND listBox) {
    if (!listBox) return;
    const int32_t selected = Selection(listBox);
    auto& pictures = Settings().pictures;
    if (selected >= 0 && size_t(selected) < pictures.size()) {
        pictures.erase(pictures.begin() + selected);
    }
    ShowPictures(listBox, SelectionAfterRemoval(selected, VisibleEntryCount(pictures.size())));
}

void RemoveAllPictures(HWND listBox) {
    Settings().pictures.clear();
    ShowPictures(listBox, -1);
}

}  // namespace WorkSpace
