#include "e2e/driver/DialogDriver.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

#include "e2e/driver/Driver.h"

namespace e2e {

namespace {

// Text messages of list and combo boxes are carried across processes by the
// platform, so a local buffer can receive them.
std::vector<std::wstring> Entries(HWND control, UINT countMessage, UINT lengthMessage,
                                  UINT textMessage) {
    std::vector<std::wstring> entries;
    const LRESULT count = SendMessageW(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(control, lengthMessage, WPARAM(i), 0);
        std::wstring text(size_t(length > 0 ? length : 0) + 1, L'\0');
        const LRESULT got = SendMessageW(control, textMessage, WPARAM(i),
                                         reinterpret_cast<LPARAM>(text.data()));
        text.resize(size_t(got > 0 ? got : 0));
        entries.push_back(text);
    }
    return entries;
}

// Returns the address of a copy of `bytes` in the memory of the process that
// owns `window`, or none. The copy is left there: the saver ends soon.
void* CopyIntoProcessOf(HWND window, const void* bytes, size_t size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return nullptr;
    void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool written = remote && WriteProcessMemory(process, remote, bytes, size, nullptr);
    CloseHandle(process);
    return written ? remote : nullptr;
}

}  // namespace

std::vector<std::wstring> ListBoxEntries(HWND listBox) {
    return Entries(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::wstring> ComboBoxEntries(HWND comboBox) {
    return Entries(comboBox, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ListBoxSelection(HWND listBox) { return int(SendMessageW(listBox, LB_GETCURSEL, 0, 0)); }
int ComboBoxSelection(HWND comboBox) { return int(SendMessageW(comboBox, CB_GETCURSEL, 0, 0)); }

void PostCommand(HWND dialog, int controlId) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

bool DropFiles(HWND target, const std::vector<std::wstring>& paths) {
    // DROPFILES, then every path with its zero, then the zero that ends the list.
    std::vector<wchar_t> names;
    for (const auto& path : paths) {
        names.insert(names.end(), path.begin(), path.end());
        names.push_back(L'\0');
    }
    names.push_back(L'\0');
    std::vector<char> block(sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    memcpy(block.data(), &header, sizeof(header));
    memcpy(block.data() + sizeof(header), names.data(), names.size() * sizeof(wchar_t));

    void* remote = CopyIntoProcessOf(target, block.data(), block.size());
    if (!remote) return false;
    SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
    return true;
}

bool SendDpiChange(HWND dialog, UINT dpi, const RECT& suggested) {
    void* remote = CopyIntoProcessOf(dialog, &suggested, sizeof(suggested));
    if (!remote) return false;
    constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED
    SendMessageW(dialog, kDpiChanged, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote));
    return true;
}

HWND FindOpenFileDialog(DWORD processId) {
    for (HWND window : WindowsOf(processId)) {
        if (ClassOf(window) == L"#32770" && IsWindowVisible(window) && GetDlgItem(window, 1148)) {
            return window;
        }
    }
    return nullptr;
}

bool AnswerOpenFileDialog(DWORD processId, const std::wstring& folder,
                          const std::wstring& fileNames, DWORD timeoutMs) {
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindOpenFileDialog(processId)) != nullptr; }, timeoutMs)) {
        return false;
    }
    if (!folder.empty()) {
        // A folder confirmed in the name field opens it; the dialog stays.
        SetDlgItemTextW(dialog, 1148, folder.c_str());
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        PumpFor(500);
    }
    SetDlgItemTextW(dialog, 1148, fileNames.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs);
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    FILE* in = _wfopen(path.c_str(), L"rb");
    if (!in) return false;
    bytes.clear();
    char chunk[4096];
    size_t got = 0;
    while ((got = fread(chunk, 1, sizeof(chunk), in)) > 0) bytes.append(chunk, got);
    fclose(in);
    return true;
}

}  // namespace e2e
