#include "resources/PackageMembers.h"

namespace WorkSpace {

namespace {

// The spellings are the package's own ("France", "Spannish", "Japan").
constexpr std::u16string_view kLanguageFiles[kLanguageCount] = {
    u"Resource/Language_en.csv", u"Resource/Language_ru.csv", u"Resource/Language_de.csv",
    u"Resource/Language_fr.csv", u"Resource/Language_es.csv", u"Resource/Language_it.csv",
    u"Resource/Language_jp.csv",
};
constexpr std::u16string_view kErrorPictures[kLanguageCount] = {
    u"Resource/EnglishErrorFone.png", u"Resource/RussianErrorFone.png",  u"Resource/GermanErrorFone.png",
    u"Resource/FranceErrorFone.png",  u"Resource/SpannishErrorFone.png", u"Resource/ItalianErrorFone.png",
    u"Resource/JapanErrorFone.png",
};
constexpr std::u16string_view kListBoxPictures[kLanguageCount] = {
    u"Resource/ListBoxEnglishFone.png", u"Resource/ListBoxRussianFone.png",  u"Resource/ListBoxGermanFone.png",
    u"Resource/ListBoxFranceFone.png",  u"Resource/ListBoxSpannishFone.png", u"Resource/ListBoxItalianFone.png",
    u"Resource/ListBoxJapanFone.png",
};

std::u16string_view Pick(const std::u16string_view (&table)[kLanguageCount], uint32_t lang) {
    return lang < kLanguageCount ? table[lang] : std::u16string_view();
}

}  // namespace

std::u16string_view LanguageFileMember(uint32_t lang) { return Pick(kLanguageFiles, lang); }
std::u16string_view ErrorPictureMember(uint32_t lang) { return Pick(kErrorPictures, lang); }
std::u16string_view ListBoxPictureMember(uint32_t lang) { return Pick(kListBoxPictures, lang); }

}  // namespace WorkSpace
