#pragma once
// What the program asks of the user's locale: the decimal and thousands
// separators for numbers, and the English name of the system language.
// Locale names are those of the environment ("de_DE.UTF-8", "fr_CA",
// "sr_RS@latin"). Separators come from the system's locale data when that
// locale is installed, otherwise from a built-in table by language.
#include <string>
#include <string_view>

namespace vivizu {

struct TNumberSeparators {
    std::string Decimal = ".";    // UTF-8, never empty
    std::string Thousands = ",";  // UTF-8, never empty
};

// The locale name that setlocale(category, "") would pick from the
// environment: LC_ALL, else the category's own variable (for example
// "LC_CTYPE"), else LANG; "C" when none is set. Empty variables count as unset.
std::string EnvLocaleName(const char* category);
// EnvLocaleName("LC_NUMERIC").
std::string NumericLocaleName();
// EnvLocaleName("LC_MESSAGES").
std::string SystemLocaleName();

// The language part of a locale name in lower case: "de" for "de_DE.UTF-8".
std::string LocaleLanguage(std::string_view localeName);

// Separators of a locale from the built-in table only.
TNumberSeparators TableNumberSeparators(std::string_view localeName);
// Separators of a locale: the installed locale data, else the table.
TNumberSeparators NumberSeparatorsOf(std::string_view localeName);
// Separators of the user's numeric locale.
TNumberSeparators UserNumberSeparators();

// The English name of a locale's language ("English", "German",
// "Chinese", "Japanese"); empty for "C", "POSIX" and unknown languages.
std::string LanguageEnglishName(std::string_view localeName);
// The English name of the system locale's language.
std::string SystemLanguageEnglishName();

} // namespace vivizu
