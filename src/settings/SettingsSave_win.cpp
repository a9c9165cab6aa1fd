#include "settings/SettingsSave_win.h"

#include <algorithm>
#include <utility>

#include "common/Handles_win.h"

namespace WorkSpace {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kChunkBytes = 1u << 20;  // largest single ReadFile/WriteFile, bytes

// Returns the temporary file of the save of `path`: beside it, so that the
// swap stays within one folder; the process id keeps two dialogs saving at
// once off each other's file.
std::wstring TemporaryPathFor(const std::wstring& path) {
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L".new";
}

// Returns false with the failing step's error as the thread's last error
// again after `cleanUp`, whose own calls may overwrite it.
template <class CleanUp>
bool FailKeepingError(CleanUp cleanUp) {
    const DWORD error = GetLastError();
    cleanUp();
    SetLastError(error);
    return false;
}

// Writes the new content into a fresh file beside the old one and swaps it in.
// Returns false (with the temporary file gone) when any step fails.
bool SaveThroughTemporary(const std::wstring& path, const std::wstring& temporary, UniqueFile file,
                          std::string_view content, SettingsFileOps& ops) {
    bool written = ops.WriteAll(file.Get(), content) && ops.CutToLength(file.Get()) && ops.Flush(file.Get());
    if (written) {
        file.Reset();
        written = ops.Exists(path) ? ops.Replace(path, temporary) : ops.Rename(temporary, path);
        if (written) return true;
    }
    return FailKeepingError([&] {
        file.Reset();
        ops.Remove(temporary);
    });
}

// The folder refuses new files (a standard user in the system folder), but
// the settings file itself may be writable: rewrite it in place, and put the
// old bytes back if any step fails.
bool RewriteInPlace(const std::wstring& path, std::string_view content, SettingsFileOps& ops) {
    UniqueFile file(ops.OpenForRewrite(path));
    if (!file) return false;
    std::string old;
    if (!ops.ReadAll(file.Get(), old)) return FailKeepingError([&] { file.Reset(); });
    if (ops.WriteAll(file.Get(), content) && ops.CutToLength(file.Get()) && ops.Flush(file.Get())) return true;
    return FailKeepingError([&] {
        if (ops.WriteAll(file.Get(), old) && ops.CutToLength(file.Get())) ops.Flush(file.Get());
        file.Reset();
    });
}

}  // namespace

HANDLE SettingsFileOps::CreateTemporary(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE SettingsFileOps::OpenForRewrite(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool SettingsFileOps::ReadAll(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return false;
    if (size.QuadPart > LONGLONG(kSettingsFileLimit)) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    bytes.assign(std::size_t(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = DWORD(std::min<std::size_t>(bytes.size() - done, kChunkBytes));
        if (!ReadFile(file, bytes.data() + done, want, &got, nullptr)) return false;
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return true;
}

bool SettingsFileOps::WriteAll(HANDLE file, std::string_view bytes) {
    if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD want = DWORD(std::min<std::size_t>(bytes.size() - done, kChunkBytes));
        if (!WriteFile(file, bytes.data() + done, want, &put, nullptr)) return false;
        if (put == 0) {
            SetLastError(ERROR_WRITE_FAULT);  // nothing written, and the call said no more
            return false;
        }
        done += put;
    }
    return true;
}

bool SettingsFileOps::CutToLength(HANDLE file) { return SetEndOfFile(file) != FALSE; }

bool SettingsFileOps::Flush(HANDLE file) { return FlushFileBuffers(file) != FALSE; }

bool SettingsFileOps::Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SettingsFileOps::Replace(const std::wstring& target, const std::wstring& replacement) {
    return ReplaceFileW(target.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                        nullptr) != FALSE;
}

bool SettingsFileOps::Rename(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

void SettingsFileOps::Remove(const std::wstring& path) { DeleteFileW(path.c_str()); }

bool WriteSettingsFile(const std::wstring& path, std::string_view content, SettingsFileOps& ops) {
    const std::wstring temporary = TemporaryPathFor(path);
    UniqueFile file(ops.CreateTemporary(temporary));
    if (file) return SaveThroughTemporary(path, temporary, std::move(file), content, ops);
    // No old file to rewrite: the refused temporary file's error is the one to tell.
    const DWORD refused = GetLastError();
    if (ops.Exists(path)) return RewriteInPlace(path, content, ops);
    SetLastError(refused);
    return false;
}

}  // namespace WorkSpace
