#pragma once
// Qt's own texts (the file dialogs' "Look in", "File name", the standard
// buttons, the overwrite question, the column headers) in the program's
// language: Qt's translation catalogue of that language, installed in the
// application while it is the chosen one.
#include <QString>
#include <memory>

class QTranslator;

namespace vivizu {

// The code of Qt's catalogue for a language number ("de" for German);
// "en" for English and for the numbers shown in English.
QString QtLanguageCode(int language);

class TQtTexts {
public:
    TQtTexts();
    ~TQtTexts();
    TQtTexts(const TQtTexts&) = delete;
    TQtTexts& operator=(const TQtTexts&) = delete;

    // Puts Qt's texts of the language in place of the ones installed
    // before, read from folder (by default Qt's own translations folder).
    // English removes them. False when the language has no catalogue there:
    // Qt's texts are then its built-in English ones.
    bool Apply(int language, const QString& folder = QString());

private:
    std::unique_ptr<QTranslator> FTranslator;
};

} // namespace vivizu
