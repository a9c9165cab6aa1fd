#include "collection/Collection_win.h"

#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <thread>
#include <unordered_set>

#include "collection/CollectionRules.h"
#include "common/Handles_win.h"
#include "common/PathCase.h"
#include "common/WideText_win.h"
#include "settings/Paths_win.h"
#include "settings/SettingsSave_win.h"

namespace WorkSpace {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Pictures claimed for a start, as many again as it has slots, so that
// pictures that fail to load leave no slot to a duplicate; those not needed
// are given back. Never more than the collection: a spare beyond it would be
// a picture of the start itself, come round again.
size_t StartClaims(size_t count, size_t collection) { return std::min(2 * count, collection); }

UniqueFind FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& found) {
    // The basic listing and large fetches save a network folder round trips;
    // Vista knows neither and is asked the plain way.
    UniqueFind search(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                       FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search && GetLastError() == ERROR_INVALID_PARAMETER) {
        search.Reset(FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &found,
                                      FindExSearchNameMatch, nullptr, 0));
    }
    return search;
}

OrderRecord ReadOrderRecord(const std::wstring& path) {
    OrderRecord record;
    if (path.empty()) return record;
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    SettingsFileOps ops;
    // Lost or damaged: a new round begins.
    if (!file || !ops.ReadAll(file.Get(), bytes) ||
        !ParseOrderRecord(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), record)) {
        return OrderRecord();
    }
    return record;
}

uint32_t FreshSeed() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return uint32_t(counter.QuadPart) ^ uint32_t(counter.QuadPart >> 32) ^
           (GetCurrentProcessId() << 16) ^ GetTickCount();
}

std::vector<std::u16string> Distinct(const std::vector<std::u16string>& collection) {
    std::unordered_set<std::u16string> seen;
    std::vector<std::u16string> distinct;
    for (const std::u16string& path : collection) {
        if (seen.insert(FoldPathCase(path)).second) distinct.push_back(path);
    }
    return distinct;
}

bool HasFolder(const std::vector<std::wstring>& listed) {
    for (const std::wstring& path : listed) {
        if (IsFolderEntry(AsU16(path))) return true;
    }
    return false;
}

std::vector<std::wstring> Wide(const std::vector<std::u16string>& paths) {
    std::vector<std::wstring> wide;
    wide.reserve(paths.size());
    for (const std::u16string& path : paths) wide.push_back(ToWide(path));
    return wide;
}

}  // namespace

bool ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) {
    WIN32_FIND_DATAW found;
    UniqueFind search = FindFirst(ToWide(JoinPath(folder, u"*")), found);
    if (!search) return false;
    do {
        const bool reparse = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entries.push_back({ToU16(found.cFileName), found.dwFileAttributes,
                           reparse ? uint32_t(found.dwReserved0) : 0u});
    } while (FindNextFileW(search.Get(), &found));
    return true;
}

std::wstring UserOrderRecordPath() {
    const std::wstring folder = UserDataFolder();
    return folder.empty() ? folder : folder + L"\\PictureOrder";
}

PictureTurns::PictureTurns(PictureRotation rotation, std::wstring recordPath)
    : rotation_(std::move(rotation)), recordPath_(std::move(recordPath)) {}

Turn PictureTurns::Claim(std::wstring& path) {
    std::lock_guard<std::mutex> held(lock_);
    const Turn turn = rotation_.Claim();
    path = ToWide(rotation_.Path(turn.picture));
    return turn;
}

void PictureTurns::GiveBack(const std::vector<Turn>& turns) {
    std::lock_guard<std::mutex> held(lock_);
    rotation_.GiveBack(turns);
}

void PictureTurns::MarkFlown(const Turn& turn) {
    std::lock_guard<std::mutex> held(lock_);
    rotation_.MarkFlown(turn);
    changed_ = true;
}

std::vector<std::wstring> PictureTurns::Upcoming(size_t count) const {
    std::lock_guard<std::mutex> held(lock_);
    std::vector<std::wstring> paths;
    for (size_t picture : rotation_.Upcoming(count)) paths.push_back(ToWide(rotation_.Path(picture)));
    return paths;
}

bool PictureTurns::SaveRecord() {
    std::vector<uint8_t> bytes;
    {
        std::lock_guard<std::mutex> held(lock_);
        if (!changed_ || recordPath_.empty()) return true;
        bytes = ComposeOrderRecord(rotation_.Record());
        changed_ = false;
    }
    CreateDirectoryW(UserDataFolder().c_str(), nullptr);
    SettingsFileOps ops;
    if (WriteSettingsFile(recordPath_, {reinterpret_cast<const char*>(bytes.data()), bytes.size()}, ops)) {
        return true;
    }
    std::lock_guard<std::mutex> held(lock_);
    changed_ = true;  // tried again at the next save
    return false;
}

// What the gathering thread and the window's thread share; the thread owns
// a share, so an abandoned gathering's thread ends on its own.
struct GatherState {
    std::vector<std::u16string> listed;
    size_t count = 0;
    bool keepRecord = false;
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    StartPictures result;
};

namespace {

StartPictures Gather(GatherState& state) {
    StartPictures start;
    const std::vector<std::u16string> collection =
        GatherCollection(state.listed, ListFolder, SaverWalkBounds(), &state.stop);
    std::vector<std::u16string> distinct = Distinct(collection);
    if (distinct.size() <= state.count) {
        // Every picture flies at each start, in list order, as a list of files always did.
        start.pictures = Wide(collection);
        return start;
    }
    const std::wstring recordPath = UserOrderRecordPath();
    const size_t claims = StartClaims(state.count, distinct.size());
    PictureRotation rotation(std::move(distinct), ReadOrderRecord(recordPath), FreshSeed(), state.count);
    start.order = std::make_shared<PictureTurns>(std::move(rotation),
                                                 state.keepRecord ? recordPath : std::wstring());
    for (size_t i = 0; i < claims; ++i) {
        std::wstring path;
        start.turns.push_back(start.order->Claim(path));
        start.pictures.push_back(std::move(path));
    }
    return start;
}

void GatherLoop(std::shared_ptr<GatherState> state) {
    StartPictures result;
    try {
        result = Gather(*state);
    } catch (...) {
        result = StartPictures();  // no memory for the collection: the start flies nothing
    }
    std::lock_guard<std::mutex> held(state->lock);
    state->result = std::move(result);
    state->done = true;
    state->finished.notify_all();
}

}  // namespace

void CollectionGathering::Start(const std::vector<std::wstring>& listed, size_t count, bool keepRecord) {
    Abandon();
    if (!HasFolder(listed) && listed.size() <= count) {
        ready_ = StartPictures();
        ready_.pictures = listed;
        readyNow_ = true;
        return;
    }
    auto state = std::make_shared<GatherState>();
    for (const std::wstring& path : listed) state->listed.push_back(ToU16(path));
    state->count = count;
    state->keepRecord = keepRecord;
    state_ = state;
    try {
        std::thread(GatherLoop, state).detach();
    } catch (...) {
        GatherLoop(state);  // no thread to be had: gathered here
    }
}

bool CollectionGathering::Ready(StartPictures& result) {
    if (readyNow_) {
        result = std::move(ready_);
        readyNow_ = false;
        return true;
    }
    if (!state_) return false;
    std::lock_guard<std::mutex> held(state_->lock);
    if (!state_->done) return false;
    result = std::move(state_->result);
    state_.reset();
    return true;
}

void CollectionGathering::Wait() {
    if (!state_) return;
    std::unique_lock<std::mutex> held(state_->lock);
    state_->finished.wait(held, [this] { return state_->done; });
}

void CollectionGathering::Abandon() {
    if (state_) state_->stop = true;
    state_.reset();
    readyNow_ = false;
}

}  // namespace WorkSpace
