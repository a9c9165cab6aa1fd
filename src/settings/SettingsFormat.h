#pragma once
// The settings file's format, free of Windows calls: how its bytes become
// picture paths and named values, and how a record becomes bytes again. The
// code-page conversion of each line is the caller's (PictureSettings_win.cpp).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace WorkSpace {

// Longest line the reader takes whole, in bytes without the line break; a
// longer line arrives as several lines of at most this many bytes.
constexpr std::size_t kSettingsLineBytes = 2047;

// The lines around the picture paths, and the key of the motion scheme's line
// after them. ASCII, so the same bytes in every code page.
inline constexpr std::u16string_view kPicturesBeginMarker = u"#Picture Info _ begin";
inline constexpr std::u16string_view kPicturesEndMarker = u"#Picture Info _ end";
inline constexpr std::u16string_view kSchemeKey = u"SelectScheme";
// UTF-8 byte-order mark: a file that starts with it is read as UTF-8, and the
// save writes it when a path does not fit the ANSI code page.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Narrow line bytes to UTF-16, in the code page the file is read in.
using LineDecoder = std::function<std::u16string(std::string_view)>;

struct ParsedSettings {
    std::vector<std::u16string> pictures;
    // Every key line after the end marker that has a number, in file order.
    std::vector<std::pair<std::u16string, int32_t>> values;
};

// Returns the lines of a settings file as a text-mode reader with a line
// buffer of 2048 bytes sees them: CR LF folded to LF, reading ends at a
// Ctrl-Z, each line cut at its first NUL and without its line feed.
std::vector<std::string> SplitSettingsLines(std::string_view bytes);

// Returns the paths and key lines of a settings file (without its byte-order
// mark, when it had one), each line decoded by `decode`.
ParsedSettings ParseSettings(std::string_view bytes, const LineDecoder& decode);

// Splits a line after the end marker into key and number; false when the line
// has no key or nothing but blanks after it.
bool ParseValueLine(std::u16string_view line, std::u16string& key, int32_t& value);

// Returns the file's bytes for the given encoded paths and scheme: the two
// markers around the paths, then the scheme line, every line ending in CR LF,
// behind the UTF-8 mark when `utf8` is set.
std::string ComposeSettings(const std::vector<std::string>& encodedPaths, int32_t scheme, bool utf8);

}  // namespace WorkSpace
