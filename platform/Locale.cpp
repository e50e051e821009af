#include "platform/Locale.h"

#include <array>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>
#include <utility>

namespace vivizu {

namespace {

struct TLanguageRow {
    const char* Code;      // ISO 639 code as it begins a locale name
    const char* Name;      // English name of the language
    const char* Decimal;   // decimal separator
    const char* Thousands; // thousands separator (UTF-8)
};

constexpr const char* Nbsp = "\xC2\xA0";  // no-break space

constexpr std::array<TLanguageRow, 36> Languages{{
    {"ar", "Arabic", ".", ","},
    {"bg", "Bulgarian", ",", Nbsp},
    {"ca", "Catalan", ",", "."},
    {"cs", "Czech", ",", Nbsp},
    {"da", "Danish", ",", "."},
    {"de", "German", ",", "."},
    {"el", "Greek", ",", "."},
    {"en", "English", ".", ","},
    {"es", "Spanish", ",", "."},
    {"et", "Estonian", ",", Nbsp},
    {"fi", "Finnish", ",", Nbsp},
    {"fr", "French", ",", Nbsp},
    {"he", "Hebrew", ".", ","},
    {"hr", "Croatian", ",", "."},
    {"hu", "Hungarian", ",", Nbsp},
    {"id", "Indonesian", ",", "."},
    {"it", "Italian", ",", "."},
    {"ja", "Japanese", ".", ","},
    {"ko", "Korean", ".", ","},
    {"lt", "Lithuanian", ",", Nbsp},
    {"lv", "Latvian", ",", Nbsp},
    {"nb", "Norwegian", ",", Nbsp},
    {"nl", "Dutch", ",", "."},
    {"nn", "Norwegian", ",", Nbsp},
    {"pl", "Polish", ",", Nbsp},
    {"pt", "Portuguese", ",", "."},
    {"ro", "Romanian", ",", "."},
    {"ru", "Russian", ",", Nbsp},
    {"sk", "Slovak", ",", Nbsp},
    {"sl", "Slovenian", ",", "."},
    {"sr", "Serbian", ",", "."},
    {"sv", "Swedish", ",", Nbsp},
    {"th", "Thai", ".", ","},
    {"tr", "Turkish", ",", "."},
    {"uk", "Ukrainian", ",", Nbsp},
    {"zh", "Chinese", ".", ","},
}};

// Territories whose numbers differ from their language's usual ones.
struct TTerritoryRow {
    const char* Locale;    // language_TERRITORY
    const char* Decimal;
    const char* Thousands;
};
constexpr std::array<TTerritoryRow, 5> Territories{{
    {"de_CH", ".", "'"},  // Swiss German
    {"it_CH", ".", "'"},  // Swiss Italian
    {"fr_CH", ".", "'"},  // Swiss French
    {"es_MX", ".", ","},  // Mexico
    {"en_ZA", ",", Nbsp}, // South Africa
}};

const TLanguageRow* FindLanguage(std::string_view localeName) {
    const std::string code = LocaleLanguage(localeName);
    for (const auto& row : Languages)
        if (code == row.Code)
            return &row;
    return nullptr;
}

bool IsPlainCLocale(std::string_view name) {
    return name.empty() || name == "C" || name == "POSIX" || name.substr(0, 2) == "C.";
}

} // namespace

std::string EnvLocaleName(const char* category) {
    for (const char* name : {"LC_ALL", category, "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return "C";
}

std::string NumericLocaleName() { return EnvLocaleName("LC_NUMERIC"); }
std::string SystemLocaleName() { return EnvLocaleName("LC_MESSAGES"); }

std::string LocaleLanguage(std::string_view localeName) {
    const auto end = localeName.find_first_of("_.@");
    std::string code(localeName.substr(0, end));
    for (auto& c : code)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return code;
}

TNumberSeparators TableNumberSeparators(std::string_view localeName) {
    const std::string_view base = localeName.substr(0, localeName.find_first_of(".@"));
    for (const auto& row : Territories)
        if (base == row.Locale)
            return {row.Decimal, row.Thousands};
    if (const auto* row = FindLanguage(localeName))
        return {row->Decimal, row->Thousands};
    return {};
}

TNumberSeparators NumberSeparatorsOf(std::string_view localeName) {
    if (IsPlainCLocale(localeName))
        return {};
    const std::string name(localeName);
    locale_t loc = newlocale(LC_NUMERIC_MASK, name.c_str(), locale_t(0));
    if (!loc)
        return TableNumberSeparators(localeName);
    TNumberSeparators result = TableNumberSeparators(localeName);
    // The installed data only speaks for UTF-8 locales: other character sets
    // would need converting, and the table covers those well enough.
    const std::string codeset = nl_langinfo_l(CODESET, loc);
    if (codeset == "UTF-8") {
        std::string decimal = nl_langinfo_l(RADIXCHAR, loc);
        std::string thousands = nl_langinfo_l(THOUSEP, loc);
        if (!decimal.empty())
            result.Decimal = std::move(decimal);
        if (!thousands.empty())
            result.Thousands = std::move(thousands);
    }
    freelocale(loc);
    return result;
}

TNumberSeparators UserNumberSeparators() { return NumberSeparatorsOf(NumericLocaleName()); }

std::string LanguageEnglishName(std::string_view localeName) {
    if (IsPlainCLocale(localeName))
        return {};
    const auto* row = FindLanguage(localeName);
    return row ? row->Name : std::string();
}

std::string SystemLanguageEnglishName() { return LanguageEnglishName(SystemLocaleName()); }

} // namespace vivizu
