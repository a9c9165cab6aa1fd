#pragma once
// Replacing the settings file without ever losing the old list. The few file
// operations the save needs form a seam, so that a test can make each step
// fail and check that the old file survives.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace WorkSpace {

// Largest settings file read, bytes: some 500,000 paths, far beyond any list
// the dialog builds; a larger file counts as unreadable.
constexpr std::size_t kSettingsFileLimit = std::size_t(64) << 20;

// Each step that fails leaves its own error as the thread's last error.
class SettingsFileOps {
public:
    virtual ~SettingsFileOps() = default;
    // Each returns INVALID_HANDLE_VALUE on failure; the caller closes the handle.
    virtual HANDLE CreateTemporary(const std::wstring& path);  // a new file, or an old temporary file reused
    virtual HANDLE OpenForRewrite(const std::wstring& path);   // an existing file, read and write
    // From the start to the end; a file beyond kSettingsFileLimit fails with ERROR_FILE_TOO_LARGE.
    virtual bool ReadAll(HANDLE file, std::string& bytes);
    // From the start; a write that writes nothing fails with ERROR_WRITE_FAULT.
    virtual bool WriteAll(HANDLE file, std::string_view bytes);
    virtual bool CutToLength(HANDLE file);                     // end of file at the current position
    virtual bool Flush(HANDLE file);
    virtual bool Exists(const std::wstring& path);
    // Puts `replacement` in place of the existing `target`, keeping the
    // target's permissions and attributes.
    virtual bool Replace(const std::wstring& target, const std::wstring& replacement);
    // Gives `from` the name `to`, where no file of that name exists.
    virtual bool Rename(const std::wstring& from, const std::wstring& to);
    virtual void Remove(const std::wstring& path);
};

// Returns true when the file at `path` holds exactly `content`. On false the
// file holds what it held before (or is still absent), and the thread's last
// error is that of the step that failed.
bool WriteSettingsFile(const std::wstring& path, std::string_view content, SettingsFileOps& ops);

}  // namespace WorkSpace
