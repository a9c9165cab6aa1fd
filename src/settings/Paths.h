#pragma once
// Path rules of the saver's own files, free of Windows calls.
#include <string>
#include <string_view>

namespace WorkSpace {

// Returns drive and folder of a file path, ending in its last separator
// ("C:\Savers\Example.scr" gives "C:\Savers\"); a bare drive ("C:x.scr")
// gives the drive alone, a bare name an empty string.
std::u16string DirectoryOf(std::u16string_view path);

// Returns the settings file's path for the program name as it was started:
// blanks trimmed at both ends, surrounding double quotes dropped, then the
// last three characters replaced by "scr.settings". Empty when the name is
// too short to cut.
std::u16string SettingsPathFromProgramName(std::u16string_view programName);

// Returns whether a path names its drive and root ("C:\x") or a share
// ("\\server\x"), so that it does not depend on the current folder.
bool IsAbsolutePath(std::u16string_view path);

}  // namespace WorkSpace
