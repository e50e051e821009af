#include "i18n/Language.h"

namespace vivizu {

uint8_t CurrentLanguage = NoLanguageChosen;

std::string LanguageFileName(int language) {
    switch (language) {
    case 1: return "Languages/Spanish.isl";
    case 2: return "Languages/German.isl";
    case 3: return "Languages/Italian.isl";
    case 4: return "Languages/French.isl";
    default: return "Languages/English.isl";
    }
}

void ReadLanguageSetting() { CurrentLanguage = NoLanguageChosen; }

int LanguageFromLocale() { return NoLanguageChosen; }

void WriteLanguageSetting() {}

bool ApplyLanguageFile(QObject& /*window*/, const std::string& /*path*/) { return true; }

} // namespace vivizu
