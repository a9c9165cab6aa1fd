#pragma once
// Which pictures a start flies, worked out off the window's thread: the
// listed folders expanded, and for a collection larger than the slots the
// next pictures of the order kept in the user's record
// (%LOCALAPPDATA%\Veltrano\PictureOrder).
#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "collection/FolderWalk.h"
#include "collection/PictureOrder.h"

namespace WorkSpace {

// Returns false when `folder` cannot be listed; else its entries, read with
// the platform's directory listing (FindFirstFileExW).
bool ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries);

// Returns the path of the user's order record, or an empty path.
std::wstring UserOrderRecordPath();

// The order of a collection larger than the slots for one run, shared by the
// window's thread and the threads that decode ahead. A run that keeps the
// record writes what flew to it; one that only shows (a preview) never does.
class PictureTurns {
public:
    PictureTurns(PictureRotation rotation, std::wstring recordPath);

    // Returns the next picture of the order and its path.
    Turn Claim(std::wstring& path);
    void GiveBack(const std::vector<Turn>& turns);
    void MarkFlown(const Turn& turn);
    // Returns the paths of the next `count` pictures Claim would give in this round.
    std::vector<std::wstring> Upcoming(size_t count) const;
    // Returns true once the record holds what has flown: at once when nothing
    // changed since the last save or the run keeps no record. Never on the
    // window's thread: the disk may be slow.
    bool SaveRecord();

private:
    mutable std::mutex lock_;
    PictureRotation rotation_;
    std::wstring recordPath_;  // empty: no record is kept
    bool changed_ = false;
};

// What a start flies: `pictures` for the scene build, in the order they fly.
// With a collection no larger than `count` they are the collection in list
// order and `turns` is none; otherwise they are the next pictures of the
// order, and turn i belongs to picture i.
struct StartPictures {
    std::vector<std::wstring> pictures;
    std::vector<Turn> turns;
    std::shared_ptr<PictureTurns> order;
};

struct GatherState;

// Works out the pictures of a start on a thread of its own, while the
// window's thread goes on answering the user. A list without folders that
// fits `count` needs no thread, and no disk: it is ready at once.
class CollectionGathering {
public:
    // Starts gathering for a start of `count` pictures (slots, times the
    // screens that show them); `keepRecord` for the run whose turns count
    // (the full-screen saver), not a preview. A gathering under way is abandoned.
    void Start(const std::vector<std::wstring>& listed, size_t count, bool keepRecord);
    // Returns true once the pictures are known; they are then in `result`.
    bool Ready(StartPictures& result);
    // Returns when the gathering is done, or at once when none is under way.
    void Wait();
    // Drops the gathering under way: its thread stops soon, unwaited.
    void Abandon();

private:
    std::shared_ptr<GatherState> state_;
    StartPictures ready_;
    bool readyNow_ = false;
};

}  // namespace WorkSpace
