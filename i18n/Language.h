#pragma once
// The language in use and the settings that remember it. English is the
// only language shipped so far: the setting is not yet read or written and
// every number shows the English file.
#include <QObject>
#include <cstdint>
#include <string>

namespace vivizu {

// Language numbers: 0 English, 1 Spanish, 2 German, 3 Italian, 4 French,
// 5 Chinese and 6 Japanese system languages (English texts), 7 no choice.
inline constexpr uint8_t NoLanguageChosen = 7;

// The process-wide language number.
extern uint8_t CurrentLanguage;

// The language file of a number, relative to the program folder.
std::string LanguageFileName(int language);

// Sets CurrentLanguage from the settings file (7 while none is kept).
void ReadLanguageSetting();
// The language number of the system language (7: not recognised).
int LanguageFromLocale();
// Stores CurrentLanguage in the settings file.
void WriteLanguageSetting();

// Puts the texts of a window's section of the language file at path onto
// the window's components. Always true.
bool ApplyLanguageFile(QObject& window, const std::string& path);

} // namespace vivizu
