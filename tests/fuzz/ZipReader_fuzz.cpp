// A damaged or hostile package must never make the reader crash, read out of
// bounds or allocate without bound, and it must stay usable for the next
// member. Every member the archive lists is read, then a fixed name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "../resources/MemoryArchive.h"
#include "minizip/unzip.h"
#include "resources/PackageMembers.h"
#include "resources/ZipReader.h"

namespace {

constexpr int kMembersRead = 8;

std::vector<std::u16string> ListedNames(zlib_filefunc64_def& files) {
    std::vector<std::u16string> names;
    unzFile archive = unzOpen2_64("package", &files);
    if (!archive) return names;
    for (int err = unzGoToFirstFile(archive); err == UNZ_OK && int(names.size()) < kMembersRead;
         err = unzGoToNextFile(archive)) {
        char name[300] = {};
        if (unzGetCurrentFileInfo64(archive, nullptr, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK) break;
        names.emplace_back(name, name + std::char_traits<char>::length(name));
    }
    unzClose(archive);
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WorkSpace::Testing::MemoryArchive archive(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<std::u16string> names = ListedNames(archive.Files());
    names.emplace_back(WorkSpace::kLogoMember);

    WorkSpace::ZipReader reader;
    if (!reader.OpenWith(archive.Files(), "package", WorkSpace::kPackagePassword)) return 0;
    for (const std::u16string& name : names) {
        uint32_t count = 0;
        const uint8_t* bytes = reader.ReadMember(name, count);
        if (bytes) {
            if (count > WorkSpace::kLargestMember) __builtin_trap();
            volatile uint8_t sum = 0;
            for (uint32_t i = 0; i < count; ++i) sum = uint8_t(sum + bytes[i]);
        }
        reader.FreeMember();
    }
    return 0;
}
