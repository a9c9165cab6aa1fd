#include "settings/SettingsFormat.h"

#include <limits>

#include "common/LatinText.h"

namespace WorkSpace {

namespace {

constexpr char kCtrlZ = '\x1A';

// Leading white space, an optional sign, decimal digits up to the first other
// character; 0 without digits. Saturates at the limits of a 32-bit number.
int32_t LeadingNumber(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    const int64_t limit = negative ? -int64_t(std::numeric_limits<int32_t>::min())
                                   : int64_t(std::numeric_limits<int32_t>::max());
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - u'0');
        if (magnitude > limit) magnitude = limit;
    }
    return int32_t(negative ? -magnitude : magnitude);
}

// Appends an ASCII text as the bytes it is in every code page.
void AppendAscii(std::string& out, std::u16string_view text) {
    for (char16_t c : text) out += char(c);
}

}  // namespace

// The file was written for the C runtime's text mode and read with fgets into
// a 2048-byte buffer; this reproduces what that reader saw, with one mend: a
// line of exactly 2047 bytes keeps its line feed instead of leaving it behind
// as an extra empty line.
std::vector<std::string> SplitSettingsLines(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == kCtrlZ) break;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text.push_back(bytes[i]);
    }

    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = at;
        while (end < text.size() && end - at < kSettingsLineBytes && text[end] != '\n') ++end;
        std::string_view line(text.data() + at, end - at);
        if (end < text.size() && text[end] == '\n') ++end;
        at = end;
        const std::size_t nul = line.find('\0');
        if (nul != std::string_view::npos) line = line.substr(0, nul);
        lines.emplace_back(line);
    }
    return lines;
}

ParsedSettings ParseSettings(std::string_view bytes, const LineDecoder& decode) {
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) bytes.remove_prefix(kUtf8Mark.size());
    ParsedSettings parsed;
    bool inPictures = true;
    for (const std::string& raw : SplitSettingsLines(bytes)) {
        std::u16string line = decode(raw);
        if (inPictures) {
            if (line == kPicturesEndMarker) {
                inPictures = false;
            } else if (line != kPicturesBeginMarker) {
                parsed.pictures.push_back(std::move(line));
            }
            continue;
        }
        std::u16string key;
        int32_t value = 0;
        if (ParseValueLine(line, key, value)) parsed.values.emplace_back(std::move(key), value);
    }
    return parsed;
}

bool ParseValueLine(std::u16string_view line, std::u16string& key, int32_t& value) {
    const std::size_t keyStart = line.find_first_not_of(u' ');
    if (keyStart == std::u16string_view::npos) return false;
    const std::size_t keyEnd = line.find(u' ', keyStart);
    if (keyEnd == std::u16string_view::npos) return false;
    const std::u16string_view rest = line.substr(keyEnd + 1);
    // "SelectScheme" followed by blanks alone names no value.
    if (rest.find_first_not_of(u' ') == std::u16string_view::npos) return false;
    key.assign(line.substr(keyStart, keyEnd - keyStart));
    value = LeadingNumber(rest);
    return true;
}

std::string ComposeSettings(const std::vector<std::string>& encodedPaths, int32_t scheme, bool utf8) {
    std::string out;
    if (utf8) out += kUtf8Mark;
    AppendAscii(out, kPicturesBeginMarker);
    out += "\r\n";
    for (const std::string& path : encodedPaths) {
        out += path;
        out += "\r\n";
    }
    AppendAscii(out, kPicturesEndMarker);
    out += "\r\n";
    AppendAscii(out, kSchemeKey);
    out += ' ';
    out += std::to_string(scheme);
    out += "\r\n";
    return out;
}

}  // namespace WorkSpace
