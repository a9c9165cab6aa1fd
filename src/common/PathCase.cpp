#include "common/PathCase.h"

namespace WorkSpace {
namespace {

constexpr uint64_t kFnvPrime = 1099511628211ull;

// Latin Extended-A pairs a capital with the small letter after it, except in
// 0139..0148 and 0179..017E, where the capital is odd, and a few letters
// (0130, 0131, 0138, 0149, 017F) whose case rules differ by language and are
// left alone: folding them could make two names one that Windows keeps apart.
char16_t FoldLatinExtended(char16_t unit) {
    if (unit == 0x0178) return 0x00FF;
    if ((unit >= 0x0139 && unit <= 0x0148) || (unit >= 0x0179 && unit <= 0x017E)) {
        return (unit & 1) ? char16_t(unit + 1) : unit;
    }
    if ((unit >= 0x0100 && unit <= 0x012F) || (unit >= 0x0132 && unit <= 0x0137) ||
        (unit >= 0x014A && unit <= 0x0177)) {
        return char16_t(unit | 1);
    }
    return unit;
}

// Only pairs that Windows also treats as one letter in file names are folded,
// so a fold never joins two files; a letter left unfolded only costs a miss.
char16_t FoldUnit(char16_t unit) {
    if (unit >= u'A' && unit <= u'Z') return char16_t(unit + 0x20);
    if (unit < 0x00C0) return unit;
    if (unit <= 0x00DE) return unit == 0x00D7 ? unit : char16_t(unit + 0x20);  // not the ×
    if (unit >= 0x0100 && unit <= 0x017F) return FoldLatinExtended(unit);
    if (unit >= 0x0391 && unit <= 0x03AB && unit != 0x03A2) return char16_t(unit + 0x20);
    if (unit >= 0x0400 && unit <= 0x040F) return char16_t(unit + 0x50);
    if (unit >= 0x0410 && unit <= 0x042F) return char16_t(unit + 0x20);
    return unit;
}

}  // namespace

uint64_t Fnv1a64(uint64_t hash, const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * kFnvPrime;
    return hash;
}

std::u16string FoldPathCase(std::u16string_view path) {
    std::u16string folded(path);
    for (char16_t& unit : folded) unit = FoldUnit(unit);
    return folded;
}

}  // namespace WorkSpace
