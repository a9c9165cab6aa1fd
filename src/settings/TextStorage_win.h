#pragma once
// The interface texts at the Windows edge.
#include <string>

#include "settings/TextIds.h"

namespace WorkSpace {

// Returns text `id` of the interface language.
std::wstring Text(Translate::TextId id);

}  // namespace WorkSpace
