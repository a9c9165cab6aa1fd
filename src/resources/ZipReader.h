#pragma once
// The process's reader of the resource package: a ZIP archive whose members
// are encrypted with the package password, handed out whole, decrypted and
// decompressed, one member at a time.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/UniqueHandle.h"
#include "minizip/ioapi.h"

namespace WorkSpace {

// Largest member the reader unpacks, bytes. The package's own members are far
// smaller; a header that declares more is refused before anything is allocated.
constexpr uint64_t kLargestMember = uint64_t(64) << 20;

struct ArchiveTraits {
    using Handle = void*;  // minizip's unzFile
    static Handle Empty() { return nullptr; }
    static void Release(Handle archive);
};
using UniqueArchive = UniqueHandle<ArchiveTraits>;

class ZipReader {
public:
    // Returns the process's reader, made closed on the first call.
    static ZipReader& Instance();

    ZipReader() = default;
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;
    virtual ~ZipReader();

    // Opens the package at `path` through the wide-character file functions, so
    // that any folder name works. Returns false when the reader is already open
    // (the first package stays in use) or the package cannot be opened.
    bool Open(std::u16string_view path, std::u16string_view password);
    // Open over the given file functions; `fileName` is what their open call takes.
    bool OpenWith(zlib_filefunc64_def& files, const void* fileName, std::u16string_view password);

    // Returns the member's bytes with `count` set to their number, or nullptr
    // (count untouched when there is no such member). Names are compared
    // without regard to the case of A-Z. The bytes stay valid until FreeMember,
    // the next read, or Close.
    const uint8_t* ReadMember(std::u16string_view name, uint32_t& count);
    // Frees the bytes of the last read, if any.
    void FreeMember();
    // Closes the package and frees the last member; the reader stays closed.
    void Close();

private:
    bool open_ = false;
    std::u16string password_;
    std::unique_ptr<uint8_t[]> member_;
    UniqueArchive archive_;
};

// Closes the process's package before the process ends.
void ReleasePackageReader();

}  // namespace WorkSpace
