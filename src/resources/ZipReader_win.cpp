#include "resources/ZipReader.h"

#include <string>

#include "common/WideText_win.h"
#include "minizip/iowin32.h"

namespace WorkSpace {

// minizip's Win32 file functions take the path as UTF-16, so a folder whose
// name the ANSI code page cannot hold still finds the package.
bool ZipReader::Open(std::u16string_view path, std::u16string_view password) {
    zlib_filefunc64_def files{};
    fill_win32_filefunc64W(&files);
    const std::wstring widePath = ToWide(path);
    return OpenWith(files, widePath.c_str(), password);
}

}  // namespace WorkSpace
