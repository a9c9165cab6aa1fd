#pragma once
// Path identity of the saver's own records, free of Windows calls: a case
// fold that joins only names Windows itself treats as one, and the hash the
// records are keyed by.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace WorkSpace {

constexpr uint64_t kFnv1a64Offset = 14695981039346656037ull;

// Returns `hash` (kFnv1a64Offset to begin) carried on over `count` bytes: FNV-1a, 64 bits.
uint64_t Fnv1a64(uint64_t hash, const uint8_t* bytes, size_t count);

// Returns `path` with the case of ASCII, Latin, Greek and Cyrillic letters
// folded to small letters.
std::u16string FoldPathCase(std::u16string_view path);

}  // namespace WorkSpace
