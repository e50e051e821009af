#include "i18n/Language.h"

#include "i18n/Settings.h"
#include "platform/Ini.h"
#include "platform/Locale.h"

#include <QLocale>
#include <algorithm>
#include <cctype>

namespace vivizu {

uint8_t CurrentLanguage = NoLanguageChosen;

const TLanguage& LanguageRow(int language) {
    for (const auto& row : Languages)
        if (row.Number == language)
            return row;
    return Languages[0];
}

std::string LanguageFileName(int language) { return LanguageRow(language).File; }

void ReadLanguageSetting() {
    const auto value = ReadSetting("LANGUAGE", "Default");
    const auto number = value ? ParseInteger(*value) : std::nullopt;
    CurrentLanguage = static_cast<uint8_t>(std::clamp(number.value_or(NoLanguageChosen), 0, 7));
}

void WriteLanguageSetting() {
    WriteSetting("LANGUAGE", "Default", std::to_string(CurrentLanguage));
}

int LanguageOfEnglishName(const std::string& name) {
    std::string lower = name;
    for (auto& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    struct TWord {
        const char* Word;
        int Number;
    };
    static constexpr TWord Words[] = {{"english", 0}, {"german", 2}, {"spanish", 1},
                                      {"french", 4},  {"italian", 3}, {"chinese", 5},
                                      {"japan", 6}};
    for (const auto& word : Words)
        if (lower.find(word.Word) != std::string::npos)
            return word.Number;
    return NoLanguageChosen;
}

std::string LocaleLanguageEnglishName(const std::string& localeName) {
    if (IsPlainCLocale(localeName))
        return {};
    const QString code = QString::fromStdString(LocaleLanguage(localeName));
    const QLocale::Language language = QLocale::codeToLanguage(code);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return {};
    const QString name = QLocale::languageToString(language);
    // The system answers into a buffer of 19 characters, its end included.
    return name.size() >= 19 ? std::string() : name.toStdString();
}

int LanguageFromLocale(const std::vector<std::string>& localeFiles) {
    return LanguageOfEnglishName(LocaleLanguageEnglishName(SystemDefaultLocaleName(localeFiles)));
}

int LanguageFromLocale() { return LanguageFromLocale(SystemLocaleFiles()); }

} // namespace vivizu
