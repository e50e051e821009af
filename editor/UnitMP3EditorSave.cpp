// Saving the selection: the Save As button with its proposed name, the
// refusal of the loaded file as destination before any overwrite question, the cut request from the tag page and the options menu,
// the wait panel, and the message for every refusal and failure.
#include "editor/MessageBox.h"
#include "editor/SaveName.h"
#include "editor/SaveTag.h"
#include "editor/Selection.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "engine/io/SameFile.h"
#include "operations/Runner.h"
#include "request/CutRequest.h"
#include "widgets/Announcer.h"
#include "widgets/Application.h"
#include "widgets/CheckBox.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/MenuItem.h"
#include "widgets/Panel.h"
#include "widgets/SaveDialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTimer>
#include <cstring>
#include <sys/stat.h>
#include <system_error>

namespace vivizu {

namespace {

QString FromBytes(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

// The reason of a failed write: the system's text for the error that ended
// it (the engine's line names the temporary file, which the user never
// sees).
QString WriteFailureReason(const TCutResult& result) {
    try {
        if (result.Error)
            std::rethrow_exception(result.Error);
    } catch (const std::system_error& error) {
        return FromBytes(error.code().message());
    } catch (...) {
    }
    return FromBytes(result.Message);
}

// The reason of a failed read: the engine's line without the source's path
// it starts with.
QString ReadFailureReason(const TCutResult& result, const std::string& source) {
    std::string reason = result.Message;
    if (reason.starts_with(source + ": "))
        reason.erase(0, source.size() + 2);
    return FromBytes(reason);
}

} // namespace

// The loaded file, named by path: the same file on disk, however spelled.
// Names that differ only in letter case are one file only where the file
// system folds case, which the identity shows.
bool TFrmMP3Editor::IsLoadedFile(const QString& path) const {
    return AreSameFile(FMp3->FileName, QFile::encodeName(path).toStdString());
}

// False, after saying so, when the selection holds nothing to write (or
// only removed stretches): a save of it would leave an empty file (or empty
// an existing one).
bool TFrmMP3Editor::SelectionHasLength(const QString& failed) {
    if (KeptLength(FSelection->Removed(), FSelection->Start(), FSelection->End()) > 0)
        return true;
    ShowMessageBox(this, failed + QStringLiteral("\r\n") + Messages.EmptySelection, Messages.Info,
                   QMessageBox::Information);
    return false;
}

void TFrmMP3Editor::BtnSaveMp3Click() {
    if (!SelectionHasLength(Messages.NotSave))
        return;
    // The dialog proposes the source's name with the selection's times, in
    // the folder of the loaded file the first time and in the folder last
    // saved to after that.
    const QString source = FromBytes(FMp3->FileName);
    const QString folder = SaveDialog1->FileName().isEmpty()
                               ? QFileInfo(source).absolutePath()
                               : QFileInfo(SaveDialog1->FileName()).absolutePath();
    SaveDialog1->SetFileName(folder + QLatin1Char('/') +
                             ProposedSaveName(source, FSelection->Start(), FSelection->End()));
    // The dialog asks nothing about an existing file: the loaded file is
    // refused first, and only another existing file is asked about.
    const int options = SaveDialog1->Options();
    SaveDialog1->SetOptions(options & ~TFileDialogBase::OverwritePrompt);
    const bool chosen = SaveDialog1->Execute();
    SaveDialog1->SetOptions(options);
    if (!chosen)
        return;
    const QString path = SaveDialog1->FileName();

    if (IsLoadedFile(path)) {
        ShowMessageBox(this, Messages.NotSaveName + path, Messages.Info, QMessageBox::Critical);
        return;
    }
    // Qt's own words for the question, in the window's language.
    if ((options & TFileDialogBase::OverwritePrompt) && !AskReplaceFile(this, path, SaveDialog1->Title()))
        return;
    // A file changed since its analysis would be cut from a stale picture
    // of it: it is opened again instead, for the user to look and save anew.
    if (!SourceUnchanged())
        return;
    SaveSelection(path);
}

void TFrmMP3Editor::SaveSelection(const QString& path) {
    const std::string destination = QFile::encodeName(path).toStdString();
    TCutResult result;
    {
        ShowWaitPanel(Messages.Waiting);
        const auto hidePanel = qScopeGuard([this] { PanelState->SetVisible(false); });
        // Nothing half-written is left on failure: the new file takes the
        // destination's place only once it is complete.
        result = CutSelection(destination);
    }
    ReportCutFailure(result, destination, Messages.NotSave);
    if (result.Status == TCutStatus::Done)
        ShowSaved(path);
}

// The status line names the new file for a few seconds, then the loaded
// file again (unless something else has been shown there meanwhile).
void TFrmMP3Editor::ShowSaved(const QString& path) {
    const QString saved = Messages.Saved.arg(QFileInfo(path).fileName());
    Label12->SetCaption(saved);
    // Screen readers hear it too: the focus does not move to the status line.
    FAnnouncer->Announce(saved);
    QTimer::singleShot(SavedNoticeMs, Label12, [this, saved] {
        if (FAnnouncer->Said() == saved)
            FAnnouncer->Hide();
        if (Label12->Caption() != saved)
            return;
        ShowFileName(FromBytes(FMp3->FileName));
    });
}

// The one way the window writes its selection, for a save and for playing
// the result alike.
TCutResult TFrmMP3Editor::CutSelection(const std::string& destination) {
    // The preview device lets go of the file before it is read.
    FMp3->StopPlaying();
    const auto start = static_cast<int32_t>(FSelection->Start());
    const auto end = static_cast<int32_t>(FSelection->End());
    // The removed stretches within the selection are left out; with none
    // the cut is the plain one. The job checks the stream can take the
    // choices (a loudness target, gain, fades), measures a target on the
    // selection and writes.
    TCutChoices choices = CutChoices();
    choices.Removed = RemovedWithin(FSelection->Removed(), start, end);
    return RunJob(CutJob(*FMp3, start, end, std::move(choices), destination)).Result;
}

void TFrmMP3Editor::ReportCutFailure(const TCutResult& result, const std::string& destination,
                                     const QString& failed) {
    switch (result.Status) {
    case TCutStatus::Done:
        return;
    case TCutStatus::ReadError:
    case TCutStatus::WriteError: {
        // The file that failed: the source when reading it failed, else the
        // destination.
        const bool source = result.Status == TCutStatus::ReadError;
        const std::string& file = source ? FMp3->FileName : destination;
        TApplication::ReportError(FromBytes(file) + QStringLiteral("\n") +
                                  (source ? ReadFailureReason(result, file)
                                          : WriteFailureReason(result)));
        return;
    }
    case TCutStatus::OutputIsInput:
        // Found by the engine under a name the check before the save did
        // not know: the language's own message for it.
        ShowMessageBox(this, Messages.NotSaveName + FromBytes(destination), Messages.Info,
                       QMessageBox::Critical);
        return;
    default:
        // A refusal: the language's words, then the engine's line naming
        // the file and the reason.
        ShowMessageBox(this, failed + QStringLiteral("\r\n") + FromBytes(result.Message),
                       Messages.Error, QMessageBox::Critical);
        return;
    }
}

// The tag from the tag page when "Include" is ticked (every field as it
// stands there), otherwise none; the options as the menu ticks them.
TCutChoices TFrmMP3Editor::CutChoices() const {
    TCutChoices choices;
    choices.KeepID3v2 = PM_KeepID3v2->Checked();
    choices.LengthHeader = PM_LengthHeader->Checked();
    choices.ExactCut = PM_ExactCut->Checked();
    FVolume.ApplyTo(choices);
    if (!RzCheckBox1->Checked()) {
        choices.Mode = TTagMode::Never;
        return choices;
    }
    choices.Mode = TTagMode::Always;
    TTagEdits& e = choices.Edits;
    e.Title = RzEdit1->Text().toStdString();
    e.Artist = RzEdit2->Text().toStdString();
    e.Album = RzEdit3->Text().toStdString();
    e.Year = RzEdit6->Text().toStdString();
    e.Comment = RzEdit7->Text().toStdString();
    e.Track = TrackFieldNumber(RzEdit5->Text());
    // No genre selected (-1) is 255 in the tag's byte.
    e.Genre = static_cast<uint8_t>(RzComboBox1->ItemIndex());
    return choices;
}

} // namespace vivizu
