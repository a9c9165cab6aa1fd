#include "config/ChosenFiles.h"

namespace WorkSpace {

// A returned name may start with a double quote; the dialog's own quoting of
// typed names is taken off here (the first character only, as it always was).
static void DropLeadingQuote(std::u16string& text) {
    if (!text.empty() && text.front() == u'"') text.erase(0, 1);
}

std::vector<std::u16string> ParseChosenFiles(std::u16string_view buffer,
                                             std::u16string& initialFolder) {
    std::vector<std::u16string> strings;
    size_t start = 0;
    while (start < buffer.size()) {
        const size_t end = buffer.find(u'\0', start);
        const size_t stop = end == std::u16string_view::npos ? buffer.size() : end;
        if (stop == start) break;  // the empty string that ends the list
        strings.emplace_back(buffer.substr(start, stop - start));
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    for (size_t k = 0; k < strings.size(); ++k) {
        DropLeadingQuote(strings[k]);
        // The backslash goes in even after a folder that ends in one: the
        // platform reads the doubled separator as one.
        if (k > 0) strings[k] = strings[0] + u'\\' + strings[k];
    }
    if (strings.size() > 1) {
        if (!strings[0].empty()) initialFolder = strings[0] + u'\\';
        strings.erase(strings.begin());
    }
    return strings;
}

std::u16string FileFilterText(std::u16string_view display, std::u16string_view pattern) {
    std::u16string text(display);
    text += u'\0';
    text += pattern;
    text += u'\0';
    text += u'\0';
    return text;
}

}  // namespace WorkSpace
