#pragma once
// The collection a list gives: its pictures as listed, each listed folder in
// its place replaced by the pictures it holds, found by a bounded walk in
// path order. Portable: the folders are read through a FolderLister, which
// the glue (Collection_win.cpp) makes of the platform's directory listing.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace WorkSpace {

struct FolderEntry {
    std::u16string name;
    uint32_t attributes = 0;  // the platform's attribute bits (CollectionRules.h)
    uint32_t reparseTag = 0;  // when attributes hold a reparse point
};

// Returns false when `folder` cannot be read; else fills `entries`, in any order.
using FolderLister = std::function<bool(const std::u16string& folder, std::vector<FolderEntry>& entries)>;

struct WalkBounds {
    size_t depth;     // folders entered below a listed one
    size_t entries;   // entries looked at, over the whole list
    size_t pictures;  // pictures taken from folders, over the whole list
};

// The bounds the saver walks with (CollectionRules.h).
WalkBounds SaverWalkBounds();

// Returns the collection of `listed`: a listed picture stays where it is, as
// listed (so a list without folders is its own collection); a folder entry
// (IsFolderEntry) gives its pictures, and those of its folders, in path
// order: folder by folder, names compared without regard to letter case. A
// picture a folder gives that is listed directly, or came from an earlier
// folder, is left out. An unreadable folder gives nothing. A set `stop`
// ends the walk with what it has.
std::vector<std::u16string> GatherCollection(const std::vector<std::u16string>& listed,
                                             const FolderLister& list, const WalkBounds& bounds,
                                             const std::atomic<bool>* stop = nullptr);

}  // namespace WorkSpace
