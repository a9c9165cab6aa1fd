#include "settings/TextStorage_win.h"

#include "common/WideText_win.h"
#include "settings/TextStorage.h"

namespace WorkSpace {

std::wstring Text(Translate::TextId id) {
    return ToWide(Translate::TextStorage::Instance().GetText(id));
}

}  // namespace WorkSpace
