#pragma once
// The process's table of interface texts, looked up by number: the texts of
// the language chosen in CurLang, or the built-in English ones.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace WorkSpace::Translate {

// Number of built-in texts, numbers 0..55; every language file has as many lines.
constexpr std::size_t kBuiltInTextCount = 56;

class TextStorage {
public:
    // Returns the process's table, made empty on the first call.
    static TextStorage& Instance();

    TextStorage() = default;
    TextStorage(const TextStorage&) = delete;
    TextStorage& operator=(const TextStorage&) = delete;
    virtual ~TextStorage() = default;

    // Returns text `number`, or an empty string past the end (a negative
    // number, taken as unsigned, is past the end too).
    std::u16string GetText(int32_t number) const;
    // Appends the 56 built-in English texts in order.
    void LoadDefaults();
    // Appends the texts of a decoded language file; when the table is still
    // empty afterwards, the built-in texts.
    void Parse(std::u16string_view decoded);
    std::size_t Count() const { return texts_.size(); }

private:
    // Only grows: the texts of the first loading keep their numbers.
    std::vector<std::u16string> texts_;
};

}  // namespace WorkSpace::Translate
