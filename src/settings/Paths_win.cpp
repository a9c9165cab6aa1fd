#include "settings/Paths_win.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "common/Handles_win.h"
#include "common/WideText_win.h"
#include "resources/PackageMembers.h"
#include "settings/Paths.h"

namespace WorkSpace {

namespace {

constexpr DWORD kModuleNameChars = 260;  // MAX_PATH; doubled while the name does not fit

// Returns the full file name of the running executable, however long.
std::wstring ModuleFileName() {
    std::vector<wchar_t> buffer(kModuleNameChars);
    for (;;) {
        const DWORD length = GetModuleFileNameW(GetModuleHandleW(nullptr), buffer.data(), DWORD(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

// Returns the path made absolute against the current folder of this moment.
std::wstring Absolute(const std::wstring& path) {
    if (IsAbsolutePath(AsU16(path))) return path;
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    return full;
}

}  // namespace

std::wstring ModuleDirectory() { return ToWide(DirectoryOf(AsU16(ModuleFileName()))); }

// The path is fixed before any dialog can change the current folder, so a
// saver started by a relative name saves where it was started.
std::wstring SettingsFilePath() {
    static std::wstring cached;
    if (!cached.empty()) return cached;

    int count = 0;
    UniqueLocal arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    if (!arguments || count < 1) {
        PostQuitMessage(0);
        return {};
    }
    const wchar_t* programName = static_cast<wchar_t**>(arguments.Get())[0];
    std::u16string path = SettingsPathFromProgramName(AsU16(programName));
    // A name too short to cut would leave the settings to chance: use the
    // executable's own file name instead.
    if (path.empty()) path = SettingsPathFromProgramName(AsU16(ModuleFileName()));
    if (path.empty()) return {};
    cached = Absolute(ToWide(path));
    return cached;
}

std::wstring UserDataFolder() {
    wchar_t base[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base) != S_OK ||
        base[0] == L'\0') {
        return std::wstring();
    }
    std::wstring folder(base);
    if (folder.back() == L'\\') folder.pop_back();
    return folder + L"\\Veltrano";
}

bool ReadRegistryDword(const wchar_t* subkey, const wchar_t* valueName, uint32_t& value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
    const UniqueKey key(opened);
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    if (RegQueryValueExW(key.Get(), valueName, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS) return false;
    value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return true;
}

bool ReadCurLang(uint32_t& lang) { return ReadRegistryDword(kProductKey, kCurLangValue, lang); }

uint32_t InterfaceLanguage() {
    uint32_t lang = 0;
    return ReadCurLang(lang) && lang < kLanguageCount ? lang : 0;
}

}  // namespace WorkSpace
