#pragma once
// The language in use: the process-wide language number, the table of the
// five languages with their files and menu items, the choice kept in the
// settings file and the system language that decides when none is kept.
#include "i18n/LanguageFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vivizu {

// Language numbers: 0 English, 1 Spanish, 2 German, 3 Italian, 4 French,
// 5 Chinese and 6 Japanese system languages (English texts), 7 no choice.
inline constexpr uint8_t NoLanguageChosen = 7;

// The process-wide language number.
extern uint8_t CurrentLanguage;

// One language the program has texts for.
struct TLanguage {
    int Number;            // its language number, also its menu item's Tag
    const char* MenuItem;  // component name of its item in the language menu
    const char* Caption;   // that item's design caption
    const char* File;      // its language file, relative to the program folder
};

// The five languages in menu order. Numbers without a row of their own
// (5, 6, 7) use the English row.
inline constexpr std::array<TLanguage, 5> Languages{{
    {0, "PM_English", "English", "Languages/English.isl"},
    {1, "PM_Spanish", "Spanish", "Languages/Spanish.isl"},
    {2, "PM_German", "German", "Languages/German.isl"},
    {3, "PM_Italian", "Italian", "Languages/Italian.isl"},
    {4, "PM_French", "French", "Languages/French.isl"},
}};

// The row that shows a language number: its own, else English.
const TLanguage& LanguageRow(int language);

// The language file of a number (of CurrentLanguage when none is given),
// relative to the program folder.
std::string LanguageFileName(int language = CurrentLanguage);

// Sets CurrentLanguage from key "Default" of section "LANGUAGE" of the
// settings file, kept within 0 ... 7; 7 when the file, the section or the
// key is missing or the value is not a whole number.
void ReadLanguageSetting();
// Stores CurrentLanguage in the settings file, keeping the file's other
// lines. Throws std::system_error naming the file when it cannot be written.
void WriteLanguageSetting();

// The language number of an English language name: the first of "english",
// "german", "spanish", "french", "italian", "chinese", "japan" found in it
// (without regard to case) decides; 7 when none is.
int LanguageOfEnglishName(const std::string& name);
// The English name of the language of a locale name ("de_AT.UTF-8" gives
// "German"). Empty for the C locale, an unknown language, and a name of 19
// characters or more, which the system's 19-character answer cannot hold.
std::string LocaleLanguageEnglishName(const std::string& localeName);
// The language number of the system's default locale (7: not recognised),
// read from the given system files (SystemDefaultLocaleName).
int LanguageFromLocale(const std::vector<std::string>& localeFiles);
int LanguageFromLocale();

} // namespace vivizu
