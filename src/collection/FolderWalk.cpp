#include "collection/FolderWalk.h"

#include <algorithm>
#include <unordered_set>

#include "collection/CollectionRules.h"
#include "common/PathCase.h"

namespace WorkSpace {
namespace {

struct Walk {
    const FolderLister& list;
    const WalkBounds& bounds;
    const std::atomic<bool>* stop;
    std::unordered_set<std::u16string>& seen;  // folded paths already in the collection
    std::vector<std::u16string>& collection;
    size_t entries = 0;
    size_t pictures = 0;

    bool Full() const {
        return entries >= bounds.entries || pictures >= bounds.pictures ||
               (stop && stop->load(std::memory_order_relaxed));
    }

    void Take(std::u16string path) {
        if (!seen.insert(FoldPathCase(path)).second) return;
        collection.push_back(std::move(path));
        ++pictures;
    }

    // Names in folded order, so that a folder's subtree comes where its path
    // sorts; the names as written break a tie.
    static void SortByName(std::vector<FolderEntry>& found) {
        std::vector<std::pair<std::u16string, FolderEntry>> keyed;
        keyed.reserve(found.size());
        for (FolderEntry& entry : found) keyed.emplace_back(FoldPathCase(entry.name), std::move(entry));
        std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
        });
        for (size_t i = 0; i < found.size(); ++i) found[i] = std::move(keyed[i].second);
    }

    void Enter(const std::u16string& folder, size_t depth) {
        std::vector<FolderEntry> found;
        if (Full() || !list(folder, found)) return;  // unreadable: skipped quietly
        SortByName(found);
        for (const FolderEntry& entry : found) {
            if (Full()) return;
            ++entries;
            switch (ClassifyEntry(entry.name, entry.attributes, entry.reparseTag)) {
            case EntryAction::Take:
                Take(JoinPath(folder, entry.name));
                break;
            case EntryAction::Enter:
                if (depth < bounds.depth) Enter(JoinPath(folder, entry.name), depth + 1);
                break;
            case EntryAction::Skip:
                break;
            }
        }
    }
};

}  // namespace

WalkBounds SaverWalkBounds() { return {kMaxFolderDepth, kMaxFolderEntries, kMaxFolderPictures}; }

std::vector<std::u16string> GatherCollection(const std::vector<std::u16string>& listed,
                                             const FolderLister& list, const WalkBounds& bounds,
                                             const std::atomic<bool>* stop) {
    std::unordered_set<std::u16string> seen;
    for (const std::u16string& path : listed) {
        if (!IsFolderEntry(path)) seen.insert(FoldPathCase(path));
    }
    std::vector<std::u16string> collection;
    Walk walk{list, bounds, stop, seen, collection};
    for (const std::u16string& path : listed) {
        if (!IsFolderEntry(path)) {
            collection.push_back(path);  // as listed, duplicates too
        } else {
            walk.Enter(std::u16string(path.substr(0, path.size() - 1)), 0);
        }
    }
    return collection;
}

}  // namespace WorkSpace
