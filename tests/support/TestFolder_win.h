#pragma once
// A fresh folder under the temporary folder for one test or scenario, removed
// with everything in it at the end.
#include <windows.h>

#include <string>
#include <string_view>

namespace WorkSpace::Testing {

// Returns a fresh empty folder under the temporary folder, ending in a backslash.
inline std::wstring MakeTempFolder(const std::wstring& stem, const std::wstring& leaf = L"") {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    static int serial = 0;
    const std::wstring path = std::wstring(temp) + stem + L"_" + std::to_wstring(GetCurrentProcessId()) +
                              L"_" + std::to_wstring(++serial) + leaf + L"\\";
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

// Deletes `folder` (ending in a backslash) with its files and folders.
inline void RemoveTempFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTempFolder(folder + name + L"\\");
            } else {
                DeleteFileW((folder + name).c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

// Returns how many files (folders aside) `folder` (ending in a backslash)
// holds: 0 when it is missing.
inline int CountFiles(const std::wstring& folder) {
    int count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
}

class TestFolder {
public:
    explicit TestFolder(const std::wstring& leaf = L"") : path_(MakeTempFolder(L"velt", leaf)) {}
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder() { RemoveTempFolder(path_); }

    // Returns the folder, ending in a backslash.
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + name; }
    // Writes `bytes` to the file `name` in the folder; returns its full path.
    std::wstring Write(const std::wstring& name, std::string_view bytes) const;

    int CountFiles() const;

private:
    std::wstring path_;
};

inline bool WriteBytes(const std::wstring& path, std::string_view bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size();
    CloseHandle(file);
    return ok;
}

inline std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

inline int TestFolder::CountFiles() const { return Testing::CountFiles(path_); }

inline std::wstring TestFolder::Write(const std::wstring& name, std::string_view bytes) const {
    const std::wstring path = File(name);
    WriteBytes(path, bytes);
    return path;
}

}  // namespace WorkSpace::Testing
