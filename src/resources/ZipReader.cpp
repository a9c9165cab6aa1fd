#include "resources/ZipReader.h"

#include <new>

#include "minizip/unzip.h"

namespace WorkSpace {

namespace {

constexpr int kIgnoreCase = 2;  // unzLocateFile: compare A-Z without regard to case

// Member names and the password are ASCII, the same bytes in every ANSI code
// page; a name with other characters names no member.
bool NarrowAscii(std::u16string_view text, std::string& narrow) {
    narrow.clear();
    for (char16_t c : text) {
        if (c == 0 || c > 0x7F) return false;
        narrow.push_back(char(c));
    }
    return true;
}

}  // namespace

void ArchiveTraits::Release(Handle archive) {
    unzCloseCurrentFile(archive);
    unzClose(archive);
}

ZipReader& ZipReader::Instance() {
    static ZipReader reader;
    return reader;
}

ZipReader::~ZipReader() { Close(); }

bool ZipReader::OpenWith(zlib_filefunc64_def& files, const void* fileName, std::u16string_view password) {
    if (open_) return false;
    password_ = password;
    archive_.Reset(unzOpen2_64(fileName, &files));
    if (!archive_) return false;
    open_ = true;
    return true;
}

const uint8_t* ZipReader::ReadMember(std::u16string_view name, uint32_t& count) {
    void* const archive = archive_.Get();
    std::string narrowName;
    if (!archive || !NarrowAscii(name, narrowName)) return nullptr;
    if (unzGoToFirstFile(archive) != UNZ_OK || unzLocateFile(archive, narrowName.c_str(), kIgnoreCase) != UNZ_OK) {
        return nullptr;
    }
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return nullptr;
    // A damaged or hostile header must not make the reader allocate without bound.
    if (info.uncompressed_size > kLargestMember) return nullptr;
    const uint32_t size = uint32_t(info.uncompressed_size);
    count = size;

    member_.reset(new (std::nothrow) uint8_t[size == 0 ? 1 : size]());
    if (!member_) return nullptr;
    std::string narrowPassword;
    // The member is decrypted whether or not its header says it is encrypted:
    // only the package's own members read back with a valid CRC.
    if (!NarrowAscii(password_, narrowPassword) ||
        unzOpenCurrentFilePassword(archive, narrowPassword.c_str()) != UNZ_OK) {
        member_.reset();
        return nullptr;
    }
    const int read = unzReadCurrentFile(archive, member_.get(), size);
    // Closing after the whole member verifies its CRC-32, which catches a
    // wrong password or damage the decompression let through.
    const int closed = unzCloseCurrentFile(archive);
    if (read < 0 || uint32_t(read) != size || closed != UNZ_OK) {
        member_.reset();
        return nullptr;
    }
    return member_.get();
}

void ZipReader::FreeMember() { member_.reset(); }

void ZipReader::Close() {
    archive_.Reset();
    member_.reset();
    open_ = false;
}

void ReleasePackageReader() { ZipReader::Instance().Close(); }

}  // namespace WorkSpace
