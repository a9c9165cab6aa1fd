#include "check/AdapterRules.h"

namespace WorkSpace {
namespace {

// Graphics-adapter models on which the saver does not run, in the order tested;
// matched anywhere in an upper-cased description that also names the family.
constexpr std::u16string_view kFamily = u"RADEON";
constexpr std::u16string_view kRejectedModels[] = {
    u"9000", u"9100", u"9150", u"8500", u"8550", u"9250", u"9200", u"9700", u"9800",
    u"9500", u"9550", u"9600", u"9650", u"X300", u"X500", u"X550", u"X600", u"X700",
    u"X1000", u"X1050", u"X1550",
};
// Matched in the description as reported, case-sensitive: "Mx" passes.
constexpr std::u16string_view kRejectedMarks[] = {u"MX", u"mx", u"440"};

bool Contains(std::u16string_view text, std::u16string_view part) {
    return text.find(part) != std::u16string_view::npos;
}

}  // namespace

std::u16string TrimKeyPath(std::u16string_view key) {
    const std::size_t last = key.find_last_not_of(kKeyPrefixCharacters);
    if (last == std::u16string_view::npos) return {};
    key = key.substr(0, last + 1);
    return std::u16string(key.substr(key.find_first_not_of(kKeyPrefixCharacters)));
}

bool DescriptionRejects(std::u16string_view reported, std::u16string_view upper) {
    if (Contains(upper, kFamily)) {
        for (std::u16string_view model : kRejectedModels) {
            if (Contains(upper, model)) return true;
        }
    }
    for (std::u16string_view mark : kRejectedMarks) {
        if (Contains(reported, mark)) return true;
    }
    return false;
}

}  // namespace WorkSpace
