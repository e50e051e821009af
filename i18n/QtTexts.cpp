#include "i18n/QtTexts.h"

#include "i18n/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <iterator>

namespace vivizu {

QString QtLanguageCode(int language) {
    // By the rows of Languages: English, Spanish, German, Italian, French.
    static const char* const codes[] = {"en", "es", "de", "it", "fr"};
    static_assert(std::size(codes) == Languages.size());
    return QLatin1String(codes[LanguageRow(language).Number]);
}

TQtTexts::TQtTexts() = default;

TQtTexts::~TQtTexts() {
    if (FTranslator)
        QCoreApplication::removeTranslator(FTranslator.get());
}

bool TQtTexts::Apply(int language, const QString& folder) {
    if (FTranslator) {
        QCoreApplication::removeTranslator(FTranslator.get());
        FTranslator.reset();
    }
    const QString code = QtLanguageCode(language);
    if (code == QLatin1String("en"))
        return true;
    auto translator = std::make_unique<QTranslator>();
    const QString from =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    if (!translator->load(QStringLiteral("qtbase_") + code, from))
        return false;
    QCoreApplication::installTranslator(translator.get());
    FTranslator = std::move(translator);
    return true;
}

} // namespace vivizu
