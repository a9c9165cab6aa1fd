#pragma once
// The saver's folder, its settings file and the registry values it reads.
#include <cstdint>
#include <string>

namespace WorkSpace {

// HKEY_LOCAL_MACHINE subkey of the saver's values, with the trailing backslash
// the saver has always passed.
constexpr const wchar_t* kProductKey = L"SOFTWARE\\Korimba\\ScreenSaver\\Veltrano\\";
// Interface language, 0..6 in the order English, Russian, German, French,
// Spanish, Italian, Japanese.
constexpr const wchar_t* kCurLangValue = L"CurLang";

// Returns drive and folder of the running executable, ending in a backslash.
std::wstring ModuleDirectory();

// Returns the absolute path of the settings file, worked out on the first call
// and the same for the rest of the process; empty (with a quit posted) when
// the command line cannot be split.
std::wstring SettingsFilePath();

// Returns the saver's folder in the local application data of the user
// running it (%LOCALAPPDATA%\Veltrano, not made here), or an empty path where
// the platform has no such folder.
std::wstring UserDataFolder();

// Reads four bytes of a value under HKEY_LOCAL_MACHINE, whatever its registry
// type. Returns false when the key or value is missing or unreadable, or the
// value is longer than four bytes; `value` is then not to be used.
bool ReadRegistryDword(const wchar_t* subkey, const wchar_t* valueName, uint32_t& value);

// Returns whether CurLang could be read; `lang` is then its raw value.
bool ReadCurLang(uint32_t& lang);

// Returns the interface language: CurLang when it can be read and names one
// of the package's languages, else 0 (English).
uint32_t InterfaceLanguage();

}  // namespace WorkSpace
