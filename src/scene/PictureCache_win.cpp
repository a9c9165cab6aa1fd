#include "scene/PictureCache_win.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <new>

#include "common/Handles_win.h"
#include "common/WideText_win.h"
#include "scene/TextureEntry.h"

namespace WorkSpace {
namespace {

constexpr const wchar_t* kTempSuffix = L".tmp";

// A picture written less than this long ago (100 ns units) is not kept: the
// file may change again within its time stamp's resolution (two seconds on
// FAT), and the entry would then outlive the content it was made from.
constexpr uint64_t kSettledAge = 2 * 10000000ull;

uint64_t Joined(DWORD high, DWORD low) { return (uint64_t(high) << 32) | low; }

uint64_t Ticks(const FILETIME& time) { return Joined(time.dwHighDateTime, time.dwLowDateTime); }

// Returns true with the key of the listed picture as its file is now; false
// when it is gone or a folder. The key comes from the opened file, which is a
// link's target: the path's own attributes would be the link's. Opened for
// its attributes only, it refuses no other opener.
bool ReadPictureKey(const std::wstring& path, PictureCacheKey& key) {
    UniqueFile file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    key = MakePictureCacheKey(AsU16(path), {Joined(info.nFileSizeHigh, info.nFileSizeLow),
                                            Ticks(info.ftLastWriteTime), info.dwVolumeSerialNumber,
                                            Joined(info.nFileIndexHigh, info.nFileIndexLow)});
    return true;
}

bool Settled(const PictureCacheKey& key) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return key.file.writeTime + kSettledAge <= Ticks(now);
}

// Returns the whole file, or false when it cannot be read or is larger than
// any entry (nothing is allocated for it then).
bool ReadEntryFile(HANDLE file, std::vector<uint8_t>& bytes) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
        uint64_t(size.QuadPart) > MaxPictureCacheEntryBytes()) {
        return false;
    }
    bytes.resize(size_t(size.QuadPart));
    DWORD read = 0;
    return ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) &&
           read == bytes.size();
}

// Returns a 32-bit ARGB image holding the entry's pixels, or none.
UniqueImage ImageOf(const PictureCacheImage& entry) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdip::GdipCreateBitmapFromScan0(entry.textureWidth, entry.textureHeight, 0,
                                        PixelFormat32bppARGB, nullptr, &bitmap) != Gdiplus::Ok) {
        if (bitmap) Gdip::GdipDisposeImage(bitmap);
        return UniqueImage();
    }
    UniqueImage image(bitmap);
    PixelLock to(image.Get(), PixelFormat32bppARGB, Gdiplus::ImageLockModeWrite);
    if (!to || to.Width() != entry.textureWidth || to.Height() != entry.textureHeight) {
        return UniqueImage();
    }
    const size_t rowBytes = size_t(entry.textureWidth) * 4;
    for (int32_t row = 0; row < entry.textureHeight; ++row) {
        std::copy_n(entry.pixels + size_t(row) * entry.stride, rowBytes,
                    to.WritablePixels() + ptrdiff_t(row) * to.Stride());
    }
    return image;
}

// Returns the entry bytes of a decoded picture, or none.
std::vector<uint8_t> EntryOf(const PictureCacheKey& key, const ImageHolder& holder) {
    PixelLock from(holder.image.Get(), PixelFormat32bppARGB, Gdiplus::ImageLockModeRead);
    if (!from || from.Stride() <= 0) return {};
    const PictureCacheImage image{holder.width, holder.height, from.Width(), from.Height(),
                                  from.Pixels(), size_t(from.Stride())};
    return ComposePictureCacheEntry(key, image);
}

// Returns a temporary name beside `path` that no other thread or process
// writes at the same time.
std::wstring TempPathFor(const std::wstring& path) {
    return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetCurrentThreadId()) + kTempSuffix;
}

UniqueFile CreateTempFile(const std::wstring& path) {
    return UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Makes the folder and its parent when missing (the local application-data
// folder itself exists wherever the platform has one).
void MakeFolder(const std::wstring& folder) {
    const size_t cut = folder.find_last_of(L'\\');
    if (cut != std::wstring::npos) CreateDirectoryW(folder.substr(0, cut).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
}

struct FolderFile {
    std::wstring name;
    uint64_t written = 0;  // 100 ns units since 1601
    uint64_t bytes = 0;
};

// A temporary file is left behind only when its writer was ended mid-write;
// an hour is far beyond any write.
constexpr uint64_t kStaleTempAge = 3600 * 10000000ull;

// Returns true for a name TempPathFor gives: an entry's name, more, ".tmp".
bool IsTempName(std::wstring_view name) {
    const size_t entryEnd = name.find(L'.', name.find(L'.') + 1);
    return entryEnd != std::wstring_view::npos &&
           IsPictureCacheFileName(AsU16(name.substr(0, entryEnd))) && name.size() > 4 &&
           name.substr(name.size() - 4) == kTempSuffix;
}

}  // namespace

bool PictureCache::Find(const PictureCacheKey& key, ImageHolder& holder) const {
    const std::wstring path = folder_ + L"\\" + ToWide(PictureCacheFileName(key));
    // Write-attribute access marks the entry used, and delete access removes a
    // damaged one through this handle; a folder that is read-only still lends
    // its entries. Everything goes through the handle, so other readers and a
    // trim may share the entry.
    constexpr DWORD kSharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    bool writable = true;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES | DELETE,
                                kSharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && GetLastError() == ERROR_ACCESS_DENIED) {
        writable = false;
        file.Reset(CreateFileW(path.c_str(), GENERIC_READ, kSharing, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!file) return false;
    std::vector<uint8_t> bytes;
    PictureCacheImage entry;
    if (!ReadEntryFile(file.Get(), bytes) ||
        !ParsePictureCacheEntry(bytes.data(), bytes.size(), key, entry)) {
        // Damaged, of another version, or another key's under the same name:
        // it goes, and the decoded picture's entry takes its place. Removed by
        // its name once closed, it could be another saver's fresh entry by then.
        DamagedEntryRead(path);
        if (writable) {
            FILE_DISPOSITION_INFO disposition{TRUE};
            SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition,
                                       sizeof disposition);
        }
        return false;
    }
    holder.image = ImageOf(entry);
    if (!holder.image) return false;
    holder.width = entry.width;
    holder.height = entry.height;
    if (writable) {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        SetFileTime(file.Get(), nullptr, nullptr, &now);
    }
    return true;
}

// The entry is made here, on the decoding thread, while the picture is its
// own; the write waits until the picture has been handed on (Keep).
bool PictureCache::Load(const std::wstring& path, const TextureSideRule& side,
                        ImageHolder& holder, PendingEntry& pending) const {
    pending = PendingEntry();
    PictureCacheKey key;
    bool keyed = false;
    try {
        keyed = !folder_.empty() && side.Nameable() && ReadPictureKey(path, key);
        key.screenWidth = side.ScreenWidth();
        key.maxSide = side.MaxSide();
        if (keyed && Find(key, holder)) return true;
    } catch (const std::bad_alloc&) {
        keyed = false;  // no memory for the look-up: the picture is decoded as without a cache
    }
    if (!LoadPictureFile(holder, path, side)) return false;
    if (keyed && Settled(key)) {
        try {
            pending.bytes = EntryOf(key, holder);
            pending.path = folder_ + L"\\" + ToWide(PictureCacheFileName(key));
            pending.picture = path;
            pending.key = std::move(key);
        } catch (const std::bad_alloc&) {
            pending = PendingEntry();  // no memory for the entry: the picture still loads
        }
    }
    return true;
}

// Written under a name of its own and then moved into place, so a reader in
// another thread or process sees the old entry, the new one, or none. A
// picture rewritten since its key was read may have been decoded from either
// content, so its key is read again first.
bool PictureCache::Keep(PendingEntry& pending) const {
    const PendingEntry entry = std::move(pending);
    pending = PendingEntry();
    if (entry.bytes.empty() || entry.path.empty()) return false;
    try {
        PictureCacheKey now;
        if (!ReadPictureKey(entry.picture, now)) return false;
        now.screenWidth = entry.key.screenWidth;
        now.maxSide = entry.key.maxSide;
        if (!SameKey(now, entry.key)) return false;
        const std::wstring temp = TempPathFor(entry.path);
        UniqueFile file = CreateTempFile(temp);
        if (!file && GetLastError() == ERROR_PATH_NOT_FOUND) {
            MakeFolder(folder_);
            file = CreateTempFile(temp);
        }
        if (!file) return false;
        DWORD written = 0;
        const bool whole = WriteFile(file.Get(), entry.bytes.data(), DWORD(entry.bytes.size()),
                                     &written, nullptr) &&
                           written == entry.bytes.size();
        const bool closed = CloseHandle(file.Detach()) != 0;
        if (whole && closed &&
            MoveFileExW(temp.c_str(), entry.path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return true;
        }
        DeleteFileW(temp.c_str());  // a full disk or a reader holding the old entry
        return false;
    } catch (const std::bad_alloc&) {
        return false;  // no memory for a name or the key: no file was made, only the entry is lost
    }
}

void PictureCache::Trim(uint64_t bound) const {
    if (folder_.empty()) return;
    FILETIME nowTime;
    GetSystemTimeAsFileTime(&nowTime);
    const uint64_t now = Ticks(nowTime);
    try {
        std::vector<FolderFile> entries;
        uint64_t total = 0;
        WIN32_FIND_DATAW found;
        UniqueFind search(FindFirstFileW((folder_ + L"\\*").c_str(), &found));
        if (!search) return;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            FolderFile file{found.cFileName, Ticks(found.ftLastWriteTime),
                            Joined(found.nFileSizeHigh, found.nFileSizeLow)};
            if (IsPictureCacheFileName(AsU16(file.name))) {
                total += file.bytes;
                entries.push_back(std::move(file));
            } else if (IsTempName(file.name) && file.written + kStaleTempAge < now) {
                DeleteFileW((folder_ + L"\\" + file.name).c_str());
            }
        } while (FindNextFileW(search.Get(), &found));
        std::sort(entries.begin(), entries.end(),
                  [](const FolderFile& a, const FolderFile& b) { return a.written < b.written; });
        for (const FolderFile& file : entries) {
            if (total < bound) break;
            // An entry that cannot go (another process holds it) is not counted
            // as gone, so the next one goes too.
            if (DeleteFileW((folder_ + L"\\" + file.name).c_str())) total -= file.bytes;
        }
    } catch (const std::bad_alloc&) {
        // No memory to list the folder or name an entry: trimmed after a later build.
    }
}

std::wstring UserPictureCacheFolder() {
    wchar_t base[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base) != S_OK ||
        base[0] == L'\0') {
        return std::wstring();
    }
    std::wstring folder(base);
    if (folder.back() == L'\\') folder.pop_back();
    return folder + L"\\Veltrano\\PictureCache";
}

PictureCache& ThePictureCache() {
    static PictureCache cache(UserPictureCacheFolder());
    return cache;
}

}  // namespace WorkSpace
