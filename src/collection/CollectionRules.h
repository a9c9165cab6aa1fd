#pragma once
// What the saver's collection is made of: which listed entries are folders,
// which files a folder gives, and which folder entries a walk enters or
// skips. Portable: the attribute bits are the platform's own values, handed
// in by the walk's glue (Collection_win.cpp).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace WorkSpace {

// Bounds of one expansion of the whole list, over every listed folder:
// folders entered below a listed one, entries looked at (files and folders),
// and pictures a folder gives. A tree beyond them gives what was found first.
constexpr size_t kMaxFolderDepth = 32;
constexpr size_t kMaxFolderEntries = 1000000;
constexpr size_t kMaxFolderPictures = 100000;

// Attribute bits of a folder entry, as the platform reports them.
constexpr uint32_t kAttributeHidden = 0x2;
constexpr uint32_t kAttributeSystem = 0x4;
constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeReparsePoint = 0x400;
constexpr uint32_t kAttributeOffline = 0x1000;
constexpr uint32_t kAttributeRecallOnOpen = 0x40000;
constexpr uint32_t kAttributeRecallOnDataAccess = 0x400000;

enum class EntryAction { Skip, Take, Enter };

// Returns whether a listed path names a folder: it ends in a backslash (or a
// slash), the form the dialog stores a folder in ("C:\Photos\", "D:\").
bool IsFolderEntry(std::u16string_view listed);

// Returns the folder's path in the form the list stores: ending in one backslash.
std::u16string AsFolderEntry(std::u16string_view folder);

// Returns whether a file name ends in an extension the decoders know: bmp,
// dib, jpg, jpeg, jpe, jfif, png, gif, tif, tiff (Latin letters in any case).
bool IsCollectablePicture(std::u16string_view name);

// Returns what a walk does with one entry of a folder: hidden and system
// entries are skipped; so is a link of any kind (a reparse point that names
// another place: symbolic link, junction, mount point), so no walk can loop,
// and a file whose data would first be fetched from elsewhere. A folder is
// entered, a file of a known extension taken.
EntryAction ClassifyEntry(std::u16string_view name, uint32_t attributes, uint32_t reparseTag);

// Returns `folder` joined with `name` by one backslash.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

}  // namespace WorkSpace
