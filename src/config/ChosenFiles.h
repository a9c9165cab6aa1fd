#pragma once
// What the open-file dialog hands back, turned into full paths, and the filter
// text it is given. Portable: the Windows glue lives in FileChooser_win.cpp.
#include <string>
#include <string_view>
#include <vector>

namespace WorkSpace {

// Returns the chosen files as full paths, in the dialog's order, from the text
// the dialog returned: zero-ended strings, the last one empty. One string is a
// single file's path; several are a folder followed by names in it. After a
// multiple selection `initialFolder` becomes that folder plus a backslash.
// The whole buffer is read, up to its double zero or its end.
std::vector<std::u16string> ParseChosenFiles(std::u16string_view buffer,
                                             std::u16string& initialFolder);

// Returns a one-entry filter in the dialog's format: display text, zero,
// pattern, zero, and the zero that ends the list.
std::u16string FileFilterText(std::u16string_view display, std::u16string_view pattern);

}  // namespace WorkSpace
