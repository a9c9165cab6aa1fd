#include "host/Switches.h"

#include "common/LatinText.h"

namespace WorkSpace {
namespace {

bool IsBlankOrControl(char16_t c) { return c >= 1 && c <= 32; }

// Skips the letter at `pos` and every blank after it.
std::size_t SkipLetterAndBlanks(std::u16string_view text, std::size_t pos) {
    ++pos;
    while (pos < text.size() && text[pos] == u' ') ++pos;
    return pos;
}

}  // namespace

std::size_t SkipProgramName(std::u16string_view commandLine) {
    std::size_t pos = 0;
    if (!commandLine.empty() && commandLine[0] == u'"') {
        ++pos;
        while (pos < commandLine.size() && commandLine[pos] != u'"') ++pos;
        if (pos < commandLine.size()) ++pos;
    } else {
        while (pos < commandLine.size() && commandLine[pos] > 32) ++pos;
    }
    while (pos < commandLine.size() && IsBlankOrControl(commandLine[pos])) ++pos;
    return pos;
}

uint32_t ParseWindowHandle(std::u16string_view text) {
    uint32_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') break;
        value = value * 10u + uint32_t(c - u'0');
    }
    return value;
}

SwitchChoice ParseSwitches(std::u16string_view arguments) {
    for (std::size_t pos = 0;; ++pos) {
        if (pos >= arguments.size() || arguments[pos] == 0) return {RunMode::ConfigureAlone, 0};
        switch (LowerLatin(arguments[pos])) {
        case u' ':
        case u'-':
        case u'/':
            continue;
        case u's':
            return {RunMode::Save, 0};
        case u'c': {
            const bool colon = pos + 1 < arguments.size() && arguments[pos + 1] == u':';
            return {RunMode::Configure, colon ? ParseWindowHandle(arguments.substr(pos + 2)) : 0};
        }
        case u'p':
        case u'l':
            return {RunMode::Preview,
                    ParseWindowHandle(arguments.substr(SkipLetterAndBlanks(arguments, pos)))};
        case u'a':
            return {RunMode::ChangePassword,
                    ParseWindowHandle(arguments.substr(SkipLetterAndBlanks(arguments, pos)))};
        default:
            return {RunMode::Invalid, 0};
        }
    }
}

}  // namespace WorkSpace
