#include "settings/Paths.h"

#include "common/LatinText.h"

namespace WorkSpace {

namespace {

constexpr std::size_t kCutCharacters = 3;  // "scr" of "Example.scr"

}  // namespace

std::u16string DirectoryOf(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    if (slash != std::u16string_view::npos) return std::u16string(path.substr(0, slash + 1));
    if (path.size() >= 2 && path[1] == u':') return std::u16string(path.substr(0, 2));
    return {};
}

std::u16string SettingsPathFromProgramName(std::u16string_view name) {
    while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
    while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
    if (!name.empty() && name.front() == u'"') {
        // A lone quote has no last character of its own to drop.
        if (name.size() < 2) return {};
        name = name.substr(1, name.size() - 2);
    }
    if (name.size() < kCutCharacters) return {};
    std::u16string path(name.substr(0, name.size() - kCutCharacters));
    path += u"scr.settings";
    return path;
}

bool IsAbsolutePath(std::u16string_view path) {
    auto separator = [](char16_t c) { return c == u'\\' || c == u'/'; };
    if (path.size() >= 3 && path[1] == u':' && separator(path[2])) return true;
    return path.size() >= 2 && separator(path[0]) && separator(path[1]);
}

}  // namespace WorkSpace
