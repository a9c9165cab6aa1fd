#include "scene/PictureCache_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "common/WideText_win.h"
#include "resources/TestPictures_win.h"
#include "scene/PictureLoader_win.h"
#include "scene/TextureEntry.h"
#include "support/FailingAllocation_win.h"

using namespace WorkSpace;
using namespace testpictures;

using WorkSpace::Testing::FailingAllocation;
using WorkSpace::Testing::g_allocationsLeft;
using WorkSpace::Testing::g_failingThread;

// Every allocation of this test program comes here; unarmed, it is malloc's,
// as the library's own new is (and its delete frees with free).
void* operator new(std::size_t bytes) {
    if (g_failingThread.load(std::memory_order_relaxed) == GetCurrentThreadId() &&
        g_allocationsLeft-- == 0) {
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(bytes ? bytes : 1)) return block;
    throw std::bad_alloc();
}

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

PictureCacheKey KeyOf(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    const FILETIME& time = info.ftLastWriteTime;
    return MakePictureCacheKey(AsU16(path), {info.nFileSizeLow,
                                             (uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime,
                                             info.dwVolumeSerialNumber,
                                             (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow});
}

// Gives `to` the times of `from`.
bool CopyTimes(const std::wstring& from, const std::wstring& to) {
    FILETIME times[3];
    HANDLE file = CreateFileW(from.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool read = GetFileTime(file, &times[0], &times[1], &times[2]);
    CloseHandle(file);
    file = CreateFileW(to.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool written = read && SetFileTime(file, &times[0], &times[1], &times[2]);
    CloseHandle(file);
    return written;
}

// Returns how many files the cache folder holds, entries and temporary ones.
int CountFiles(const PictureCache& cache) {
    return WorkSpace::Testing::CountFiles(cache.Folder() + L"\\");
}

// What a build takes from a holder: the sizes and every texel.
struct Loaded {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> texels;
    bool operator==(const Loaded& o) const {
        return width == o.width && height == o.height && texels == o.texels;
    }
};

// A holder whose mipmap levels were made shows its opaque texels in level 0.
Loaded Texels(const ImageHolder& holder) {
    Loaded loaded{holder.width, holder.height, {}};
    if (holder.levels.Levels() > 0) {
        const MipLevel& level = holder.levels.Level(0);
        const uint8_t* texel = holder.levels.Texels(0);
        for (int32_t i = 0; i < level.width * level.height; ++i, texel += 3) {
            loaded.texels.push_back(0xFF000000u | uint32_t(texel[2]) << 16 | uint32_t(texel[1]) << 8 | texel[0]);
        }
        return loaded;
    }
    PixelLock lock(holder.image.Get(), PixelFormat32bppARGB, Gdiplus::ImageLockModeRead);
    if (!lock) return loaded;
    for (int32_t y = 0; y < lock.Height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(lock.Pixels() + y * lock.Stride());
        loaded.texels.insert(loaded.texels.end(), row, row + lock.Width());
    }
    return loaded;
}

Loaded Decoded(const std::wstring& path) {
    ImageHolder holder;
    EXPECT_TRUE(LoadPictureFile(holder, path, PowerOfTwoSide));
    return Texels(holder);
}

class PictureCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = MakeTempFolder(L"picturecache");
        cache_ = PictureCache(folder_ + L"Veltrano\\PictureCache");
    }
    void TearDown() override { RemoveTempFolder(folder_); }
    // A picture that changes from pixel to pixel, last written an hour ago.
    std::wstring Picture(const wchar_t* name, uint32_t tint, const wchar_t* type = L"image/png") {
        const std::wstring path = folder_ + name;
        EXPECT_TRUE(SavePicture(path, type, 300, 200, [tint](int x, int y) {
            return 0xFF000000u | (uint32_t(x * 7 + y) & 0xFF) << 8 | uint32_t(y * 3) | tint;
        }));
        EXPECT_TRUE(AgeFile(path, 1));  // a picture written just now is not kept
        return path;
    }
    // Returns true when the picture came from its entry (nothing to keep).
    bool LoadFromCache(const std::wstring& path, Loaded& loaded, PendingEntry& pending,
                       const TextureSideRule& side = TextureSideRule()) {
        ImageHolder holder;
        EXPECT_TRUE(cache_.Load(path, side, holder, pending));
        loaded = Texels(holder);
        return pending.bytes.empty();
    }
    std::wstring folder_;
    PictureCache cache_;
};

}  // namespace

// The same picture at another texture size is another entry: each size is
// decoded once, kept beside the other, and found again at its own size only.
TEST_F(PictureCacheTest, AnEntryOfAnotherSizeIsNotTakenForThisOne) {
    const std::wstring path = Picture(L"sizes.png", 0x004000);
    const TextureSideRule screen = TextureSideRule::FromScreen(700, 1024);
    Loaded classic, large, again;
    PendingEntry pending;
    EXPECT_FALSE(LoadFromCache(path, classic, pending));
    ASSERT_TRUE(cache_.Keep(pending));
    EXPECT_FALSE(LoadFromCache(path, large, pending, screen));
    EXPECT_EQ(large.texels.size(), 512u * 256u);  // 300 x 200 at most 512 x 256
    EXPECT_EQ(classic.texels.size(), 128u * 128u);
    ASSERT_TRUE(cache_.Keep(pending));
    EXPECT_EQ(CountFiles(cache_), 2);
    EXPECT_TRUE(LoadFromCache(path, again, pending, screen));
    EXPECT_TRUE(again == large);
    EXPECT_TRUE(LoadFromCache(path, again, pending));
    EXPECT_TRUE(again == classic);
}

// A kept picture comes back with the same sizes and texels; any entry that is
// not exactly its own is removed, the picture is decoded as without a cache,
// and its entry written again.
TEST_F(PictureCacheTest, OnlyAWholeEntryOfTheSamePictureIsTaken) {
    const std::wstring path = Picture(L"a.png", 0x800000);
    const Loaded decoded = Decoded(path);
    Loaded loaded;
    PendingEntry pending;
    EXPECT_FALSE(LoadFromCache(path, loaded, pending));
    EXPECT_TRUE(loaded == decoded);
    const std::wstring entryPath = pending.path;
    ASSERT_TRUE(cache_.Keep(pending));  // the folder is made on demand
    EXPECT_TRUE(pending.bytes.empty());
    const std::vector<uint8_t> entry = ReadBytes(entryPath);
    ASSERT_FALSE(entry.empty());
    std::wstring upper = path;
    CharUpperW(upper.data());
    for (const std::wstring& listed : {path, upper}) {
        EXPECT_TRUE(LoadFromCache(listed, loaded, pending));
        EXPECT_TRUE(loaded == decoded);
    }

    PictureCacheKey otherVersion = KeyOf(path);
    otherVersion.version += 1;
    PictureCacheImage image;
    ASSERT_TRUE(ParsePictureCacheEntry(entry.data(), entry.size(), KeyOf(path), image));
    using Edit = std::function<std::vector<uint8_t>()>;
    struct Case { const char* what; Edit bytes; };
    const Case damaged[] = {
        {"empty", [] { return std::vector<uint8_t>(); }},
        {"truncated", [&] { return std::vector<uint8_t>(entry.begin(), entry.end() - 100); }},
        {"a pixel byte flipped",
         [&] { auto b = entry; b[b.size() - 5000] ^= 0x04; return b; }},
        {"another version", [&] { return ComposePictureCacheEntry(otherVersion, image); }},
        {"another key under the same name",
         [&] { return ComposePictureCacheEntry(KeyOf(Picture(L"b.png", 0x80)), image); }},
    };
    for (const Case& c : damaged) {
        const std::vector<uint8_t> bytes = c.bytes();
        ASSERT_TRUE(WriteBytes(entryPath, bytes.data(), bytes.size())) << c.what;
        EXPECT_FALSE(LoadFromCache(path, loaded, pending)) << c.what;
        EXPECT_TRUE(loaded == decoded) << c.what;
        EXPECT_FALSE(Exists(entryPath)) << c.what;
        EXPECT_TRUE(cache_.Keep(pending)) << c.what;
        EXPECT_EQ(ReadBytes(entryPath), entry) << c.what;
    }
}

// The key is read from the file each time: new content at the same path, or
// no file, is never answered from the cache.
TEST_F(PictureCacheTest, ChangedAndDeletedPicturesAreNotTakenFromTheCache) {
    const std::wstring path = Picture(L"a.png", 0x800000);
    Loaded loaded;
    PendingEntry pending;
    EXPECT_FALSE(LoadFromCache(path, loaded, pending));
    ASSERT_TRUE(cache_.Keep(pending));
    Picture(L"a.png", 0x000080);  // new content, another time
    ASSERT_TRUE(AgeFile(path, 2));
    EXPECT_FALSE(LoadFromCache(path, loaded, pending));
    EXPECT_TRUE(loaded == Decoded(path));
    ASSERT_TRUE(cache_.Keep(pending));
    // Another file of the same size and time moved to the path (a restored
    // copy, or a link's new target): the file itself tells them apart.
    const std::wstring bitmap = Picture(L"a.bmp", 0x000080, L"image/bmp");
    EXPECT_FALSE(LoadFromCache(bitmap, loaded, pending));
    ASSERT_TRUE(cache_.Keep(pending));
    const std::wstring other = Picture(L"b.bmp", 0x008000, L"image/bmp");
    ASSERT_EQ(ReadBytes(other).size(), ReadBytes(bitmap).size());
    ASSERT_TRUE(CopyTimes(bitmap, other));
    ASSERT_TRUE(MoveFileExW(other.c_str(), bitmap.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(LoadFromCache(bitmap, loaded, pending));
    EXPECT_TRUE(loaded == Decoded(bitmap));
    Picture(L"a.png", 0x008000);
    ASSERT_TRUE(AgeFile(path, 0));  // written just now: it loads, but is not kept yet
    ImageHolder holder;
    EXPECT_TRUE(cache_.Load(path, TextureSideRule(), holder, pending));
    EXPECT_TRUE(Texels(holder) == Decoded(path));
    EXPECT_TRUE(pending.bytes.empty());
    ASSERT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_FALSE(cache_.Load(path, TextureSideRule(), holder, pending));
    EXPECT_FALSE(holder.image);
    EXPECT_TRUE(pending.bytes.empty());
}

// A picture that changes between the reading of its key and the keeping of
// its entry may have been decoded from either content: the entry is not
// kept, and the next load decodes the picture as it is now.
TEST_F(PictureCacheTest, APictureChangedBeforeItsEntryIsKeptIsNotKept) {
    using Change = std::function<bool(const std::wstring& path)>;
    struct Case { const char* what; Change change; };
    const Case cases[] = {
        {"rewritten, same size", [&](const std::wstring&) {
             return !Picture(L"a.bmp", 0x000080, L"image/bmp").empty();
         }},
        {"replaced, same size and time", [&](const std::wstring& path) {
             const std::wstring other = Picture(L"b.bmp", 0x008000, L"image/bmp");
             return CopyTimes(path, other) &&
                    MoveFileExW(other.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
         }},
        {"deleted", [](const std::wstring& path) { return DeleteFileW(path.c_str()) != FALSE; }},
    };
    for (const Case& c : cases) {
        const std::wstring path = Picture(L"a.bmp", 0x800000, L"image/bmp");
        Loaded loaded;
        PendingEntry pending;
        EXPECT_FALSE(LoadFromCache(path, loaded, pending)) << c.what;
        const std::wstring entryPath = pending.path;
        ASSERT_TRUE(c.change(path)) << c.what;
        EXPECT_FALSE(cache_.Keep(pending)) << c.what;
        EXPECT_FALSE(Exists(entryPath)) << c.what;
        EXPECT_EQ(CountFiles(cache_), 0) << c.what;
        if (!Exists(path)) continue;
        EXPECT_FALSE(LoadFromCache(path, loaded, pending)) << c.what;
        EXPECT_TRUE(loaded == Decoded(path)) << c.what;
    }
}

// Another saver's fresh entry arrives for a picture whose entry is being
// found damaged, the moment the damaged one has been read.
class RacedCache : public PictureCache {
public:
    RacedCache(const std::wstring& folder, const PendingEntry& fresh)
        : PictureCache(folder), fresh_(fresh) {}
    mutable int races = 0;
    mutable bool freshKept = false;

protected:
    void DamagedEntryRead(const std::wstring&) const override {
        ++races;
        PendingEntry fresh = fresh_;
        freshKept = PictureCache(Folder()).Keep(fresh);
    }

private:
    const PendingEntry fresh_;
};

// The damaged entry goes through the handle that read it, never by its name:
// a fresh entry that took its place (or was refused while it was open) is
// never lost to that delete.
TEST_F(PictureCacheTest, ADamagedEntryGoesButNotTheFreshOneAfterIt) {
    const std::wstring path = Picture(L"a.png", 0x800000);
    Loaded loaded;
    PendingEntry pending;
    EXPECT_FALSE(LoadFromCache(path, loaded, pending));
    const PendingEntry fresh = pending;
    const std::wstring entryPath = pending.path;
    ASSERT_TRUE(cache_.Keep(pending));
    ASSERT_TRUE(WriteBytes(entryPath, "damaged", 7));

    const RacedCache raced(cache_.Folder(), fresh);
    ImageHolder holder;
    EXPECT_TRUE(raced.Load(path, TextureSideRule(), holder, pending));
    EXPECT_TRUE(Texels(holder) == Decoded(path));
    EXPECT_EQ(raced.races, 1);
    EXPECT_EQ(Exists(entryPath), raced.freshKept);
    if (raced.freshKept) {
        EXPECT_EQ(ReadBytes(entryPath), fresh.bytes);
    }
    EXPECT_EQ(CountFiles(cache_), raced.freshKept ? 1 : 0);
    EXPECT_TRUE(cache_.Keep(pending));
    EXPECT_TRUE(LoadFromCache(path, loaded, pending));
    EXPECT_TRUE(loaded == Decoded(path));
}

// No folder, a folder that cannot be made, and entries that cannot be marked
// as used: each picture still loads as decoded.
TEST_F(PictureCacheTest, CacheFoldersThatCannotBeWrittenOnlyCostTime) {
    const std::wstring path = Picture(L"a.png", 0x800000);
    const Loaded decoded = Decoded(path);
    ASSERT_TRUE(WriteBytes(folder_ + L"file", "x", 1));
    for (const PictureCache& cache : {PictureCache(), PictureCache(folder_ + L"file\\cache")}) {
        for (int run = 0; run < 2; ++run) {
            ImageHolder holder;
            PendingEntry pending;
            ASSERT_TRUE(cache.Load(path, TextureSideRule(), holder, pending)) << run;
            EXPECT_TRUE(Texels(holder) == decoded);
            EXPECT_FALSE(cache.Keep(pending));
            cache.Trim();
        }
    }
    Loaded loaded;
    PendingEntry pending;
    EXPECT_FALSE(LoadFromCache(path, loaded, pending));
    const std::wstring entryPath = pending.path;
    ASSERT_TRUE(cache_.Keep(pending));
    ASSERT_TRUE(SetFileAttributesW(entryPath.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(LoadFromCache(path, loaded, pending));
    EXPECT_TRUE(loaded == decoded);
    SetFileAttributesW(entryPath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Entries go least recently used first, a find counting as a use; temporary
// files are removed only once no write can still be under way.
TEST_F(PictureCacheTest, TrimKeepsTheMostRecentlyUsedUnderTheBound) {
    std::vector<std::wstring> entries;
    for (const wchar_t* name : {L"a.png", L"b.png", L"c.png"}) {
        const std::wstring path = Picture(name, 0x800000);
        Loaded loaded;
        PendingEntry pending;
        EXPECT_FALSE(LoadFromCache(path, loaded, pending));
        entries.push_back(pending.path);
        ASSERT_TRUE(cache_.Keep(pending));
        ASSERT_TRUE(AgeFile(entries.back(), uint32_t(4 - entries.size())));
    }
    const uint64_t entryBytes = ReadBytes(entries[0]).size();
    Loaded loaded;
    PendingEntry pending;
    EXPECT_TRUE(LoadFromCache(folder_ + L"a.png", loaded, pending));  // a: used just now
    const std::wstring staleTemp = entries[0] + L".12-34.tmp";
    const std::wstring freshTemp = entries[1] + L".56-78.tmp";
    const std::wstring other = cache_.Folder() + L"\\notes.txt";
    for (const std::wstring& file : {staleTemp, freshTemp, other}) {
        ASSERT_TRUE(WriteBytes(file, "x", 1));
    }
    ASSERT_TRUE(AgeFile(staleTemp, 2));
    ASSERT_TRUE(AgeFile(other, 2));

    cache_.Trim(3 * entryBytes + 1);
    for (const std::wstring& file : entries) EXPECT_TRUE(Exists(file));
    cache_.Trim(2 * entryBytes + 1);
    EXPECT_TRUE(Exists(entries[0]));
    EXPECT_FALSE(Exists(entries[1]));
    EXPECT_TRUE(Exists(entries[2]));
    EXPECT_FALSE(Exists(staleTemp));
    EXPECT_TRUE(Exists(freshTemp));
    EXPECT_TRUE(Exists(other));
    // An entry that another process holds stays, and is not counted as gone:
    // the next one goes in its place, so the bound holds.
    HANDLE held = CreateFileW(entries[2].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    cache_.Trim(entryBytes + 1);
    EXPECT_FALSE(Exists(entries[0]));
    EXPECT_TRUE(Exists(entries[2]));
    CloseHandle(held);
    cache_.Trim(entryBytes);
    EXPECT_FALSE(Exists(entries[0]) || Exists(entries[1]) || Exists(entries[2]));
    DeleteFileW(freshTemp.c_str());
    DeleteFileW(other.c_str());
}

// Without memory at any allocation of keeping or of trimming, only entries are
// lost: nothing is thrown (from a decoding thread that would end the process),
// no temporary file stays, and a trim that gets its memory keeps the bound.
TEST_F(PictureCacheTest, KeepingAndTrimmingWithoutMemoryOnlyLoseEntries) {
    std::vector<PendingEntry> made;
    for (const wchar_t* name : {L"a.png", L"b.png", L"c.png"}) {
        Loaded loaded;
        made.emplace_back();
        EXPECT_FALSE(LoadFromCache(Picture(name, 0x800000), loaded, made.back()));
    }
    bool thrown = false;
    for (long failing = 0;; ++failing) {
        PendingEntry pending = made[0];
        bool kept = false;
        bool failed = false;
        {
            FailingAllocation failure(failing);
            try {
                kept = cache_.Keep(pending);
            } catch (...) {
                thrown = true;
            }
            failed = failure.Failed();
        }
        ASSERT_FALSE(thrown) << "keeping, allocation " << failing;
        EXPECT_EQ(kept, !failed) << failing;
        EXPECT_EQ(CountFiles(cache_), kept ? 1 : 0) << failing;
        if (failed) continue;
        EXPECT_GT(failing, 0);  // keeping allocates: the sweep met it
        break;
    }
    for (long failing = 0;; ++failing) {
        for (const PendingEntry& entry : made) {
            PendingEntry pending = entry;
            ASSERT_TRUE(cache_.Keep(pending));
        }
        bool failed = false;
        {
            FailingAllocation failure(failing);
            try {
                cache_.Trim(0);
            } catch (...) {
                thrown = true;
            }
            failed = failure.Failed();
        }
        ASSERT_FALSE(thrown) << "trimming, allocation " << failing;
        if (failed) continue;
        EXPECT_EQ(CountFiles(cache_), 0);
        EXPECT_GT(failing, 2);  // the trim allocates: the sweep met it
        break;
    }
}

// Two processes that load the same pictures at once, each emptying the cache
// before every round, leave only whole entries, each found for its picture.
// The test runs itself as those two processes, told apart by the environment.
TEST_F(PictureCacheTest, TwoProcessesAtOnceLeaveOnlyWholeEntries) {
    constexpr const wchar_t* kSharedFolder = L"VELTRANO_CACHE_TEST_FOLDER";
    wchar_t shared[MAX_PATH] = {};
    const bool child = GetEnvironmentVariableW(kSharedFolder, shared, MAX_PATH) > 0;
    const std::wstring folder = child ? std::wstring(shared) : folder_;
    const PictureCache cache(folder + L"Veltrano\\PictureCache");
    std::vector<std::wstring> pictures;
    std::vector<Loaded> decoded;
    for (uint32_t i = 0; i < 6; ++i) {
        const std::wstring name = std::to_wstring(i) + L".png";
        pictures.push_back(child ? folder + name : Picture(name.c_str(), i * 0x200000));
        decoded.push_back(Decoded(pictures.back()));
    }
    if (child) {
        for (int round = 0; round < 3; ++round) {
            cache.Trim(0);
            const PictureLoadReport report = LoadPictures(
                pictures, pictures.size(), 2,
                [&decoded](size_t i, ImageHolder& holder) { return Texels(holder) == decoded[i]; },
                &cache);
            EXPECT_EQ(report.loaded, pictures.size()) << round;
        }
        return;
    }

    wchar_t self[MAX_PATH] = {};
    ASSERT_TRUE(GetModuleFileNameW(nullptr, self, MAX_PATH));
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_filter=PictureCacheTest.TwoProcessesAtOnceLeaveOnlyWholeEntries";
    ASSERT_TRUE(SetEnvironmentVariableW(kSharedFolder, folder_.c_str()));
    PROCESS_INFORMATION processes[2] = {};
    for (PROCESS_INFORMATION& process : processes) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
    }
    SetEnvironmentVariableW(kSharedFolder, nullptr);
    for (PROCESS_INFORMATION& process : processes) {
        if (!process.hProcess) continue;
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 90000), WAIT_OBJECT_0);
        DWORD code = 1;
        EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &code) && code == 0);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    std::vector<std::wstring> names;
    for (const std::wstring& path : pictures) names.push_back(ToWide(PictureCacheFileName(KeyOf(path))));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((cache.Folder() + L"\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        EXPECT_NE(std::find(names.begin(), names.end(), found.cFileName), names.end())
            << "left behind: " << found.cFileName;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const bool present = Exists(cache.Folder() + L"\\" + names[i]);
        Loaded loaded;
        PendingEntry pending;
        EXPECT_EQ(LoadFromCache(pictures[i], loaded, pending), present) << i;
        EXPECT_TRUE(loaded == decoded[i]) << i;
    }
}
