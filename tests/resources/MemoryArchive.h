#pragma once
// minizip file functions over bytes in memory, so that tests and the fuzz
// target hand the reader an archive without touching the disk.
#include <cstring>
#include <string_view>

#include "minizip/ioapi.h"

namespace WorkSpace::Testing {

struct MemoryFile {
    std::string_view bytes;
    ZPOS64_T position = 0;
};

class MemoryArchive {
public:
    explicit MemoryArchive(std::string_view bytes) : file_{bytes, 0} {
        files_.zopen64_file = [](voidpf opaque, const void*, int) -> voidpf {
            static_cast<MemoryFile*>(opaque)->position = 0;
            return opaque;
        };
        files_.zread_file = [](voidpf, voidpf stream, void* buf, uLong size) -> uLong {
            auto* file = static_cast<MemoryFile*>(stream);
            const ZPOS64_T left = file->position < file->bytes.size() ? file->bytes.size() - file->position : 0;
            const uLong count = uLong(size < left ? size : left);
            if (count > 0) std::memcpy(buf, file->bytes.data() + file->position, count);
            file->position += count;
            return count;
        };
        files_.zwrite_file = [](voidpf, voidpf, const void*, uLong) -> uLong { return 0; };
        files_.ztell64_file = [](voidpf, voidpf stream) -> ZPOS64_T { return static_cast<MemoryFile*>(stream)->position; };
        files_.zseek64_file = [](voidpf, voidpf stream, ZPOS64_T offset, int origin) -> long {
            auto* file = static_cast<MemoryFile*>(stream);
            ZPOS64_T base = 0;
            if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = file->position;
            if (origin == ZLIB_FILEFUNC_SEEK_END) base = file->bytes.size();
            if (base + offset > file->bytes.size() || base + offset < base) return -1;
            file->position = base + offset;
            return 0;
        };
        files_.zclose_file = [](voidpf, voidpf) -> int { return 0; };
        files_.zerror_file = [](voidpf, voidpf) -> int { return 0; };
        files_.opaque = &file_;
    }
    MemoryArchive(const MemoryArchive&) = delete;
    MemoryArchive& operator=(const MemoryArchive&) = delete;

    zlib_filefunc64_def& Files() { return files_; }

private:
    MemoryFile file_;
    zlib_filefunc64_def files_{};
};

}  // namespace WorkSpace::Testing
