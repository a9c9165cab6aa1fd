#pragma once
// Start-up loading: opens the resource package for the process and fills the
// text table in the language of CurLang.
#include <cstdint>

namespace WorkSpace {

class ZipReader;
namespace Translate {
class TextStorage;
}

// Opens the package beside the executable and loads the texts of CurLang;
// every failure ends in the built-in English texts.
void LoadStartupResources();

// Appends to `texts` the language file of `lang` from `reader`, or the
// built-in English texts when `langRead` is false, `lang` is not 0..6, or the
// file cannot be had.
void LoadLanguageTexts(Translate::TextStorage& texts, ZipReader& reader, bool langRead, uint32_t lang);

}  // namespace WorkSpace
