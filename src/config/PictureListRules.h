#pragma once
// The rules by which the configuration dialog's picture list takes, shows and
// removes pictures. Portable: the dialog's glue lives in ConfigDialog_win.cpp.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace WorkSpace {

// Entries the list box shows: the first 21 pictures (21, not 20, as the list
// always showed); later pictures are kept and saved, but not shown.
constexpr size_t kMaxListEntries = 21;

// Returns how many of `pictureCount` pictures the list box shows.
size_t VisibleEntryCount(size_t pictureCount);

// Returns the entry to select after a removal: the one above the removed entry
// `removed` (-1: none was selected), or the first; -1 when the list holding
// `remaining` entries has none to select.
int32_t SelectionAfterRemoval(int32_t removed, size_t remaining);

// Returns whether a dropped file's name ends in an extension the saver takes
// (.jpg, .png, .tiff, .bmp, .tif; Latin letters in any case). The extension
// is the last path component from its last dot on.
bool IsDroppablePicture(std::u16string_view path);

// Returns the entry a dropped path adds to the list: a folder as a folder
// entry (ending in a backslash), a picture IsDroppablePicture takes as it is,
// anything else nothing (an empty entry). A folder is known by what it is,
// not by its name, so one named like a picture is still a folder.
std::u16string DroppedEntry(std::u16string_view path, bool isFolder);

// Returns the text the list shows for an entry: a folder entry after its
// label ("Folder: C:\Photos\"), so it cannot be taken for a picture; a
// picture's path as it is.
std::u16string ListEntryText(std::u16string_view entry, std::u16string_view folderLabel);

// Returns whether `path` fits on one line that the settings file reads back
// whole, in either encoding its save may choose: the ANSI code page, where the
// path takes `codePageBytes`, or UTF-8. A longer path would come back as
// several bogus ones.
bool FitsSettingsLine(std::u16string_view path, size_t codePageBytes);

}  // namespace WorkSpace
