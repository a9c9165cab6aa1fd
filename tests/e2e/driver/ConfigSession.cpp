#include "e2e/driver/ConfigSession.h"

namespace e2e {

namespace {

// Where the build leaves what a user copies beside the saver.
std::vector<std::wstring> DistFolders() {
    return {BinDir(), BinDir() + L"..\\..\\..\\dist\\"};
}

void CopyBeside(const std::wstring& name, const std::wstring& folder) {
    for (const auto& from : DistFolders()) {
        if (CopyFileW((from + name).c_str(), (folder + name).c_str(), FALSE)) return;
    }
}

}  // namespace

ConfigSession::ConfigSession(const std::wstring& name, bool withPackage) : folder_(name) {
    CopyFileW(SaverPath().c_str(), (folder_.Path() + L"Veltrano.scr").c_str(), FALSE);
    if (!withPackage) return;
    for (const wchar_t* file : {L"VeltResource.dat", L"default_1.jpg", L"default_2.jpg",
                                L"default_3.jpg"}) {
        CopyBeside(file, folder_.Path());
    }
}

bool ConfigSession::Open(const std::wstring& arguments) {
    if (!saver_.Start(folder_.Path() + L"Veltrano.scr", arguments)) return false;
    dialog_ = nullptr;
    return WaitUntil(
        [&] {
            for (HWND window : WindowsOf(saver_.Id())) {
                if (ClassOf(window) == L"#32770" && IsWindowVisible(window) &&
                    GetDlgItem(window, IDC_PICTURE_LIST)) {
                    dialog_ = window;
                    return true;
                }
            }
            return false;
        },
        15000);
}

bool BuildMakesPackage() {
    // The source tree lies three folders above the build's bin folder.
    const std::wstring recipe = BinDir() + L"..\\..\\..\\assets\\Package.cmake";
    return GetFileAttributesW(recipe.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ConfigSession::HasPackage() const {
    return GetFileAttributesW((folder_.Path() + L"VeltResource.dat").c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ConfigSession::Push(int id) {
    SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(id)));
}

std::optional<std::string> ConfigSession::Settings() const {
    std::string bytes;
    if (!ReadWholeFile(SettingsPath(), bytes)) return std::nullopt;
    return bytes;
}

void ConfigSession::WriteSettings(const std::string& bytes) const {
    folder_.Write(L"Veltrano.scr.settings", bytes);
}

std::wstring ConfigSession::DefaultPicture(int number) const {
    return folder_.Path() + L"\\default_" + std::to_wstring(number) + L".jpg";
}

constexpr const wchar_t* kProductKey = L"SOFTWARE\\Korimba\\ScreenSaver\\Veltrano";

CurLangValue::CurLangValue(std::optional<DWORD> language)
    : value_(HKEY_LOCAL_MACHINE, kProductKey, L"CurLang") {
    if (language) {
        value_.Set(REG_DWORD, &*language, sizeof(DWORD));
    } else {
        value_.Remove();
    }
}

std::string SettingsText(const std::vector<std::string>& paths, int scheme) {
    std::string text = "#Picture Info _ begin\r\n";
    for (const auto& path : paths) text += path + "\r\n";
    text += "#Picture Info _ end\r\nSelectScheme " + std::to_string(scheme) + "\r\n";
    return text;
}

std::string Narrow(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string narrow(size_t(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), int(text.size()), narrow.data(), bytes, nullptr,
                        nullptr);
    return narrow;
}

}  // namespace e2e
