#pragma once
// Character rules of the saver's own text formats (settings file, command
// line, picture names), which know the Latin letters and the C blanks only.
// Portable.

#include <algorithm>
#include <string_view>

namespace WorkSpace {

// Returns whether `c` is one of the C locale's blanks: space, tab, line feed,
// vertical tab, form feed or carriage return.
constexpr bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// Returns `c` with A-Z turned into a-z; every other character as it is.
constexpr char16_t LowerLatin(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

// Returns whether `a` and `b` are the same text, Latin letters in any case.
inline bool EqualsLatinNoCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return LowerLatin(x) == LowerLatin(y); });
}

}  // namespace WorkSpace
