#pragma once
// What the program asks of the locales: the decimal and thousands
// separators of the user's numbers, and the system-wide default locale.
// Locale names are those of the environment ("de_DE.UTF-8", "fr_CA",
// "sr_RS@latin"). Separators come from the system's locale data when that
// locale is installed, otherwise from a built-in table by language.
#include <string>
#include <string_view>
#include <vector>

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

// The files that name the system-wide default locale, in the order they are
// asked: "/etc/locale.conf", then "/etc/default/locale".
std::vector<std::string> SystemLocaleFiles();
// The system's default locale: the first of LC_ALL, LC_MESSAGES and LANG
// that the first of files to name a language sets (shell assignments, as in
// LANG="de_DE.UTF-8"); where none does, or it names the C or POSIX locale,
// the process environment's EnvLocaleName("LC_MESSAGES").
std::string SystemDefaultLocaleName(const std::vector<std::string>& files = SystemLocaleFiles());

// True for "C", "POSIX", "C.<charset>" and the empty name.
bool IsPlainCLocale(std::string_view localeName);

// The language part of a locale name in lower case: "de" for "de_DE.UTF-8".
std::string LocaleLanguage(std::string_view localeName);

// Separators of a locale from the built-in table only.
TNumberSeparators TableNumberSeparators(std::string_view localeName);
// Separators of a locale: the installed locale data, else the table.
TNumberSeparators NumberSeparatorsOf(std::string_view localeName);
// Separators of the user's numeric locale.
TNumberSeparators UserNumberSeparators();

} // namespace vivizu
