#pragma once
// Numbers of the interface texts in TextStorage's table that the code shows.
#include <cstdint>

namespace WorkSpace::Translate {

enum TextId : int32_t {
    kTextOk = 0,
    kTextCancel = 1,
    kTextPreview = 2,
    kTextRemove = 3,
    kTextRemoveAll = 4,
    kTextSelectScheme = 6,
    kTextFiles = 7,
    kTextAdd = 18,
    kTextSaverTitle = 25,    // the configuration dialog's title
    kTextFirstScheme = 27,   // motion schemes 0..4 are texts 27..31
    kTextEmptyListTitle = 52,  // hints on an empty picture list without its background picture
    kTextEmptyListBody = 53,
    kTextAddFolder = 54,     // beside Add, and in the list's menu
    kTextFolderEntry = 55,   // before a folder's path in the list
};

}  // namespace WorkSpace::Translate
