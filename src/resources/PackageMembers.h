#pragma once
// Names inside the resource package and of the package itself.
#include <cstdint>
#include <string_view>

namespace WorkSpace {

// Appended to ModuleDirectory, which already ends in a backslash: the doubled
// backslash is how the saver has always named the package, and Windows reads
// it as one.
inline constexpr std::u16string_view kPackageFileName = u"\\VeltResource.dat";
inline constexpr std::u16string_view kPackagePassword = u"5318642";
inline constexpr std::u16string_view kLogoMember = u"Resource/logo.png";

// Number of interface languages; CurLang 0..6 in the order English, Russian,
// German, French, Spanish, Italian, Japanese.
constexpr uint32_t kLanguageCount = 7;

// Each returns the member of that language, or an empty view outside 0..6.
std::u16string_view LanguageFileMember(uint32_t lang);
std::u16string_view ErrorPictureMember(uint32_t lang);
std::u16string_view ListBoxPictureMember(uint32_t lang);

}  // namespace WorkSpace
