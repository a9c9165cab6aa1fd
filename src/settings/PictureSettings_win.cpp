#include "settings/PictureSettings_win.h"

#include <windows.h>

#include "common/Handles_win.h"
#include "common/WideText_win.h"
#include "settings/Paths_win.h"
#include "settings/SettingsFormat.h"
#include "settings/SettingsSave_win.h"

namespace WorkSpace {

namespace {

std::u16string Decode(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    if (units <= 0) return {};
    std::wstring text(std::size_t(units), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), text.data(), units);
    return ToU16(text);
}

// Returns false when the code page cannot hold `text` unchanged.
bool Encode(UINT codePage, const std::wstring& text, std::string& bytes) {
    bytes.clear();
    if (text.empty()) return true;
    const int size = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    bytes.assign(std::size_t(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), bytes.data(), size, nullptr, nullptr);
    // A best-fit or default character would come back as another path.
    return Decode(codePage, bytes) == AsU16(text);
}

// Returns false when the file is missing, unreadable or too large.
bool ReadSettingsBytes(const std::wstring& path, std::string& bytes) {
    // Deny none: a dialog of another process may be saving the file meanwhile.
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    SettingsFileOps ops;
    return ops.ReadAll(file.Get(), bytes);
}

// Returns the bytes Save writes: ANSI code page text, or UTF-8 behind its
// byte-order mark when a path does not fit the code page.
std::string SettingsFileContent(const PictureSettings& settings) {
    std::vector<std::string> lines(settings.pictures.size());
    bool fitsCodePage = true;
    for (std::size_t i = 0; i < lines.size() && fitsCodePage; ++i) {
        fitsCodePage = Encode(CP_THREAD_ACP, settings.pictures[i], lines[i]);
    }
    if (!fitsCodePage) {
        // UTF-8 holds every path; the mark tells Load to read it so.
        for (std::size_t i = 0; i < lines.size(); ++i) Encode(CP_UTF8, settings.pictures[i], lines[i]);
    }
    return ComposeSettings(lines, settings.Scheme(), !fitsCodePage);
}

}  // namespace

PictureSettings& Settings() {
    static PictureSettings settings;
    return settings;
}

bool PictureSettings::Load(const std::wstring& path) {
    pictures.clear();
    values.assign(1, {ToWide(kSchemeKey), 0});
    std::string bytes;
    if (ReadSettingsBytes(path, bytes) && !bytes.empty()) {
        const bool utf8 = bytes.compare(0, kUtf8Mark.size(), kUtf8Mark) == 0;
        const UINT codePage = utf8 ? CP_UTF8 : CP_THREAD_ACP;
        ParsedSettings parsed = ParseSettings(bytes, [codePage](std::string_view line) { return Decode(codePage, line); });
        pictures.reserve(parsed.pictures.size());
        for (const std::u16string& picture : parsed.pictures) pictures.push_back(ToWide(picture));
        for (const auto& [key, value] : parsed.values) SetValue(ToWide(key), value);
    }
    if (pictures.empty()) AddDefaultPictures();
    return true;
}

bool PictureSettings::Save(const std::wstring& path) {
    SettingsFileOps ops;
    return WriteSettingsFile(path, SettingsFileContent(*this), ops);
}

void PictureSettings::SetValue(const std::wstring& key, int32_t value) {
    for (auto& entry : values) {
        if (entry.first == key) {
            entry = {key, value};
            return;
        }
    }
}

int32_t PictureSettings::ValueOf(const std::wstring& key) const {
    for (const auto& entry : values) {
        if (entry.first == key) return entry.second;
    }
    return 0;
}

void PictureSettings::SetScheme(int32_t scheme) { SetValue(ToWide(kSchemeKey), scheme); }

int32_t PictureSettings::Scheme() const { return ValueOf(ToWide(kSchemeKey)); }

// The folder already ends in a backslash, so each path holds a doubled one
// ("C:\Savers\\default_1.jpg"). It is kept: Windows reads it as one, and
// settings files saved with these paths hold them in this form.
void PictureSettings::AddDefaultPictures() {
    const std::wstring folder = ModuleDirectory();
    for (const wchar_t* name : {L"\\default_1.jpg", L"\\default_2.jpg", L"\\default_3.jpg"}) {
        pictures.push_back(folder + name);
    }
}

}  // namespace WorkSpace
