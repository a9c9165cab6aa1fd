#pragma once
// The per-user cache of picture textures: one file per picture in
// %LOCALAPPDATA%\Veltrano\PictureCache holding what a build made of it (the
// texture-size pixels and the decoded size), so that a later build takes
// them instead of decoding the picture again. Every fault of the cache only
// costs time: the picture is then decoded as if there were no cache.
#include <cstdint>
#include <string>
#include <vector>

#include "resources/PictureDecoding_win.h"
#include "scene/PictureCacheEntry.h"

namespace WorkSpace {

// The cache folder is trimmed below this after a build, bytes: room for a
// full scene at 3840 x 2160 (about 130 MB of entries, 280 MB under Fall
// Rotation, whose eye comes nearest) with those of smaller windows beside it.
constexpr uint64_t kPictureCacheBytes = 512ull << 20;

// An entry made where a picture was decoded, written once the picture is on
// its way; empty when there is nothing to write.
struct PendingEntry {
    std::wstring path;  // where the entry goes
    std::vector<uint8_t> bytes;
    std::wstring picture;  // the listed path it was made from
    PictureCacheKey key;   // that file as it was before it was decoded
};

class PictureCache {
public:
    // No folder: finds nothing and keeps nothing.
    PictureCache() = default;
    explicit PictureCache(std::wstring folder) : folder_(std::move(folder)) {}
    PictureCache(const PictureCache&) = default;
    PictureCache& operator=(const PictureCache&) = default;
    virtual ~PictureCache() = default;

    const std::wstring& Folder() const { return folder_; }

    // Returns true with the picture at `path` in `holder` as LoadPictureFile
    // leaves it: from its entry when one matches the file as it is now,
    // otherwise decoded, with the entry to keep in `pending`. A damaged entry,
    // or one of another key under the same name, is removed. Safe on any thread.
    bool Load(const std::wstring& path, const TextureSideRule& side, ImageHolder& holder,
              PendingEntry& pending) const;

    // Returns true after moving the pending entry into place whole (making the
    // folder when missing), provided its picture's file is still as its key
    // says; the pending entry is empty afterwards. Safe on any thread and
    // process; without memory it only returns false.
    bool Keep(PendingEntry& pending) const;

    // Removes the entries least recently found or kept until the folder's
    // entries take less than `bound` bytes, and temporary files that a write
    // left behind. For after a build, never during one. Without memory it
    // stops, and the next build's trim goes on.
    void Trim(uint64_t bound = kPictureCacheBytes) const;

protected:
    // Called between reading a damaged entry and removing it, with the entry's
    // path; does nothing. A test has another saver keep its entry there.
    virtual void DamagedEntryRead(const std::wstring& /*entryPath*/) const {}

private:
    bool Find(const PictureCacheKey& key, ImageHolder& holder) const;

    std::wstring folder_;  // no trailing backslash; empty: no cache
};

// Returns the cache folder of the user running the process (not made yet), or
// an empty path where the platform has no local application-data folder.
std::wstring UserPictureCacheFolder();

// The cache the scene builds use: the user's own folder.
PictureCache& ThePictureCache();

}  // namespace WorkSpace
