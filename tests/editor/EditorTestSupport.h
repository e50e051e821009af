#pragma once
// Helpers shared by the main window's tests: fixture paths, answering the
// open dialog, and catching message boxes and error reports.
#include "editor/MessageBox.h"
#include "editor/SplitDialog.h"
#include "EditorControls.h"
#include "editor/UnitMP3Editor.h"
#include "platform/Ini.h"
#include "platform/ProgramFolder.h"
#include "widgets/Application.h"
#include "widgets/FileDialogBase.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>
#include <string>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace vivizu::test {

inline QString Fixture(const char* name) {
    return QString::fromUtf8(VIVIZU_FIXTURES) + QLatin1Char('/') + QLatin1String(name);
}

// While alive: the program folder is `folder` (a test's own, for its
// settings file), holding the files a window needs to open and save.
class TOwnProgramFolder {
public:
    explicit TOwnProgramFolder(const QString& folder) : FFormer(ProgramFolder()) {
        const QString from = QString::fromStdString(FFormer);
        for (const char* name : {"MarkStart.bmp", "MarkEnd.bmp", "MarkStartD.bmp", "MarkEndD.bmp"})
            QFile::copy(from + name, folder + QLatin1Char('/') + QLatin1String(name));
        QDir(folder).mkdir(QStringLiteral("Languages"));
        QFile::copy(from + "Languages/English.isl", folder + QStringLiteral("/Languages/English.isl"));
        SetProgramFolder(folder.toStdString() + "/");
    }
    ~TOwnProgramFolder() { SetProgramFolder(FFormer); }
    // The program folder it stands in for (ending in "/").
    const std::string& Former() const { return FFormer; }
    TOwnProgramFolder(const TOwnProgramFolder&) = delete;
    TOwnProgramFolder& operator=(const TOwnProgramFolder&) = delete;

private:
    std::string FFormer;
};

// A message text of the English language file beside the program.
inline QString EnglishMessage(const char* key) {
    const auto ini = TIniFile::Load(ProgramFolder() + "Languages/English.isl");
    return QString::fromStdString(ini.ReadString("Messages", key, ""));
}

// While alive: the open and save dialogs answer with a path (or are
// cancelled when it is empty), message boxes and error reports are
// recorded instead of shown.
class TDialogSeams {
public:
    struct TBox {
        QString Text;
        QString Caption;
        int Icon = 0;  // QMessageBox::Icon
    };

    TDialogSeams() {
        TFileDialogBase::SetExecuteHook([this](TFileDialogBase& dialog) {
            ++Executes;
            if (Answer.isEmpty())
                return false;
            dialog.SetFileName(Answer);
            return true;
        });
        SetMessageBoxHook([this](const QString& text, const QString& caption, QMessageBox::Icon icon) {
            Boxes.push_back({text, caption, static_cast<int>(icon)});
        });
        TApplication::SetReportHook([this](const QString& caption, const QString& text) {
            Reports.push_back({text, caption, static_cast<int>(QMessageBox::Critical)});
        });
        SetQuestionBoxHook([this](const QString& text, const QString& caption) {
            Questions.push_back({text, caption, static_cast<int>(QMessageBox::Warning)});
            return ReplaceAnswer;
        });
        SetSplitDialogHook([this](TFrmSplit& dialog) {
            ++SplitDialogs;
            return SplitAnswer ? SplitAnswer(dialog) : true;
        });
    }
    ~TDialogSeams() {
        TFileDialogBase::SetExecuteHook({});
        SetMessageBoxHook({});
        TApplication::SetReportHook({});
        SetQuestionBoxHook({});
        SetSplitDialogHook({});
    }
    TDialogSeams(const TDialogSeams&) = delete;
    TDialogSeams& operator=(const TDialogSeams&) = delete;

    QString Answer;          // the path the next dialog returns; "" cancels
    int Executes = 0;
    std::vector<TBox> Boxes;    // message boxes of the windows
    std::vector<TBox> Reports;  // the application's error reports
    std::vector<TBox> Questions; // questions asked (replace an existing file?)
    bool ReplaceAnswer = true;   // their answer
    int SplitDialogs = 0;        // split dialogs shown
    // Answers the split dialog (true: OK); unset, OK with its values.
    std::function<bool(TFrmSplit&)> SplitAnswer;
};

// Opens path with a click on the Open button, as a user would, with the
// dialog answering path.
inline void OpenThroughDialog(TFrmMP3Editor& form, TDialogSeams& seams, const QString& path) {
    seams.Answer = path;
    TEditorControls(form).BtnOpenMp3->click();
}

// Saves to path with a click on the Save As button.
inline void SaveThroughDialog(TFrmMP3Editor& form, TDialogSeams& seams, const QString& path) {
    seams.Answer = path;
    TEditorControls(form).BtnSaveMp3->click();
}

} // namespace vivizu::test
