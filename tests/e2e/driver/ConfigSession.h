#pragma once
// One configuration run of the saver, as a user starts it with /c: a copy of
// the saver and its files in a scratch folder of its own (so its settings
// file is the test's alone), the dialog found, its controls at hand.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "config/DialogIds.h"
#include "e2e/driver/DialogDriver.h"
#include "e2e/driver/Driver.h"
#include "support/RegistryValue_win.h"

namespace e2e {

// Returns whether this build makes the resource package (its recipe is in the
// source tree): a scenario that needs the package then fails without it.
bool BuildMakesPackage();

class ConfigSession {
public:
    // Makes the folder and copies Veltrano.scr into it; `withPackage` copies
    // the resource package and the default pictures too, when they are built.
    explicit ConfigSession(const std::wstring& name, bool withPackage = true);

    // Starts the saver with `arguments` and waits for the dialog. False when
    // it did not show within the time allowed.
    bool Open(const std::wstring& arguments = L"/c");
    // The exit code once the saver has ended, or none within `timeoutMs`.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = 15000) { return saver_.WaitForExit(timeoutMs); }

    HWND Dialog() const { return dialog_; }
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    HWND List() const { return Control(IDC_PICTURE_LIST); }
    HWND Schemes() const { return Control(IDC_SCHEME_BOX); }
    std::vector<std::wstring> Entries() const { return ListBoxEntries(List()); }
    DWORD ProcessId() const { return saver_.Id(); }

    // Pushes a button and waits until the saver has handled it.
    void Push(int id);

    const ScratchFolder& Folder() const { return folder_; }
    // Whether the resource package lies beside this copy of the saver.
    bool HasPackage() const;
    std::wstring SettingsPath() const { return folder_.Path() + L"Veltrano.scr.settings"; }
    // The settings file's bytes; none when there is no such file.
    std::optional<std::string> Settings() const;
    void WriteSettings(const std::string& bytes) const;
    // The default pictures' paths as the saver forms them.
    std::wstring DefaultPicture(int number) const;

private:
    ScratchFolder folder_;
    Process saver_;
    HWND dialog_ = nullptr;
};

// The interface language in the registry for as long as it lives; none
// deletes the value. The old state comes back at the end.
class CurLangValue {
public:
    explicit CurLangValue(std::optional<DWORD> language);

private:
    WorkSpace::Testing::ScopedRegistryValue value_;
};

// A settings file as the saver writes it: markers, paths, the scheme line.
std::string SettingsText(const std::vector<std::string>& paths, int scheme);

// Narrow text of a wide string in the ANSI code page, as the settings file holds it.
std::string Narrow(const std::wstring& text);

}  // namespace e2e
