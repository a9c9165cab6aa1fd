#pragma once
// The portable code keeps text as UTF-16 in std::u16string; on Windows wchar_t
// is the same 16-bit unit, so the edge converts without re-encoding.
#include <string>
#include <string_view>

namespace WorkSpace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is UTF-16");

inline std::u16string_view AsU16(std::wstring_view text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

inline std::wstring_view AsWide(std::u16string_view text) {
    return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

inline std::wstring ToWide(std::u16string_view text) { return std::wstring(AsWide(text)); }
inline std::u16string ToU16(std::wstring_view text) { return std::u16string(AsU16(text)); }

}  // namespace WorkSpace
