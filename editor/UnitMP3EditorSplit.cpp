// Splitting the loaded file at its pauses: the options menu's "Split at
// silences…", its dialog's threshold and shortest pause, the pieces' folder
// from the folder dialog, the progress window naming the piece being
// written, and a box with the outcome. Each piece is written as a save writes a selection: the options menu's
// exact cut, length header and kept ID3v2 tag, the tag page's tag, the
// volume dialog's gain and fades, and its loudness target measured on each
// piece. The split is a job of the operations layer, as the companion's.
#include "editor/MessageBox.h"
#include "editor/PieceTitle.h"
#include "editor/SplitDialog.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "operations/Planner.h"
#include "operations/Runner.h"
#include "operations/SilencePieces.h"
#include "platform/CodePage.h"
#include "request/PieceNames.h"
#include "widgets/Application.h"
#include "widgets/FolderDialog.h"
#include "widgets/MenuItem.h"
#include "widgets/Panel.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QScopeGuard>

#include <optional>
#include <sys/stat.h>

namespace vivizu {
namespace {

// The first of names that exists in dir, as its path; none when none does.
std::optional<std::string> FirstExisting(const std::vector<std::string>& names, const std::string& dir) {
    for (const std::string& name : names) {
        struct stat st {};
        const std::string path = dir + "/" + name;
        if (lstat(path.c_str(), &st) == 0)
            return path;
    }
    return std::nullopt;
}

QString FromBytes(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

// What became of a split, for the box that follows it.
struct TSplitOutcome {
    enum { Split, NoSilence, Refused, DecodeFailed } Kind = Split;
    size_t Written = 0;
    size_t Count = 0;
    bool Cancelled = false;
    TCutResult Failure;
    std::string Reason;
};

} // namespace

void TFrmMP3Editor::PM_SplitSilenceClick() {
    if (!FMp3 || !FMp3->Valid || Busy())
        return;
    TSplitChoices choices;
    if (!ShowSplitDialog(this, choices, {FMp3->FileName, FMp3->CompleteIndex(), PM_ExactCut->Checked()}))
        return;
    QString title = PM_SplitSilence->Caption();
    title.remove(QChar(0x2026));
    FolderDialog1->SetTitle(title.trimmed());
    // The first time, the dialog opens in the folder of the loaded file.
    if (FolderDialog1->FileName().isEmpty())
        FolderDialog1->SetInitialDir(QFileInfo(FromBytes(FMp3->FileName)).absolutePath());
    const bool chosen = FolderDialog1->Execute();
    FolderDialog1->SetInitialDir(QString());
    if (!chosen)
        return;
    if (!SourceUnchanged())
        return;
    SplitAtSilences(FolderDialog1->FileName(), choices);
}

void TFrmMP3Editor::SplitAtSilences(const QString& folder, const TSplitChoices& splitChoices) {
    const std::string dir = QFile::encodeName(folder).toStdString();
    const int codePage = AnsiCodePage();
    TSplitOutcome outcome;
    {
        ShowWaitPanel(Messages.Waiting);
        const auto hidePanel = qScopeGuard([this] { PanelState->SetVisible(false); });
        FMp3->StopPlaying();
        const TFrameIndex& index = FMp3->CompleteIndex();
        const TCutChoices choices = CutChoices();
        // The dialog's pauses when its decode was done, else a decode now.
        const TSilencePieces found =
            splitChoices.Found
                ? SilencePiecesOf(index, *splitChoices.Found, std::nullopt, choices.ExactCut)
                : FindSilencePieces(FMp3->FileName, index, splitChoices.Silence, std::nullopt, choices.ExactCut);
        const TSilencePlan& plan = found.Plan;
        TPieceNaming naming;
        naming.Folder = dir;
        naming.SourceName = BaseName(FMp3->FileName);
        // A tag from the tag page numbers its pieces from 1, in the track
        // and in the title ("Talk 3", the file's name when it has none).
        TPieceTagging tagging{choices.Mode, choices.Edits};
        std::vector<TTagEdits> numbered;
        if (choices.Mode == TTagMode::Always) {
            tagging.Edits.Title.reset();
            const QString title = QString::fromStdString(choices.Edits.Title.value_or(""));
            for (size_t i = 0; i < plan.Ranges.Pieces.size(); ++i) {
                numbered.emplace_back();
                numbered.back().Title =
                    NumberedPieceTitle(title, FromBytes(naming.SourceName), static_cast<int>(i) + 1).toStdString();
            }
        }
        const TPlannedPieces planned =
            PlanPieces(FMp3->Info, plan.Ranges.Pieces, naming, tagging, numbered, codePage);
        const std::vector<TSplitPiece>& pieces = planned.Pieces;
        const std::vector<std::string>& names = planned.Names;
        outcome.Count = pieces.size();
        if (found.Result.Status != TDecodeStatus::Done) {
            outcome.Kind = TSplitOutcome::DecodeFailed;
            outcome.Reason = found.Result.Message;
        } else if (plan.Pauses.empty()) {
            outcome.Kind = TSplitOutcome::NoSilence;
        } else if (!plan.Ranges.Declined.empty()) {
            outcome.Kind = TSplitOutcome::Refused;
            outcome.Reason = plan.Ranges.Declined;
        } else if (const auto refusal = CheckPieceNames(names, dir, true)) {
            outcome.Kind = TSplitOutcome::Refused;
            outcome.Reason = *refusal;
        } else if (const auto taken = FirstExisting(names, dir)) {
            // Pieces of an earlier split are never replaced from here.
            outcome.Kind = TSplitOutcome::Refused;
            outcome.Reason = *taken + ": exists already; choose another folder, or move the earlier pieces away";
        } else {
            // One piece at a time, so that Cancel stops between two pieces
            // (each piece is a job of its own, measured on its own for a
            // loudness target); the progress window keeps the window's
            // controls out of reach.
            QProgressDialog progress(this);
            progress.setWindowModality(Qt::WindowModal);
            progress.setMinimumDuration(500);
            progress.setRange(0, static_cast<int>(pieces.size()));
            for (size_t i = 0; i < pieces.size(); ++i) {
                const QString writing = Messages.SplitWriting.arg(i + 1).arg(pieces.size());
                ShowWaitPanel(writing);
                progress.setLabelText(writing);
                progress.setValue(static_cast<int>(i));
                if (progress.wasCanceled()) {
                    outcome.Cancelled = true;
                    break;
                }
                const TJobReport report = RunJob(SplitJob(*FMp3, {pieces[i]}, choices));
                if (outcome.Written == 0 &&
                    (report.Stage == TJobStage::Plan || report.Stage == TJobStage::Measure)) {
                    // Refused before a byte was written: the stream cannot
                    // take the volume choices, or the target could not be
                    // measured.
                    outcome.Kind = TSplitOutcome::Refused;
                    outcome.Reason = report.Result.Message;
                }
                outcome.Written += report.Written.size();
                outcome.Failure = report.Result;
                if (!report.Result.Ok())
                    break;
            }
            progress.setValue(static_cast<int>(pieces.size()));
        }
    }
    switch (outcome.Kind) {
    case TSplitOutcome::NoSilence:
        ShowMessageBox(this, Messages.NoSilence, Messages.Info, QMessageBox::Information);
        return;
    case TSplitOutcome::DecodeFailed:
        TApplication::ReportError(FromBytes(FMp3->FileName) + QStringLiteral("\n") + FromBytes(outcome.Reason));
        return;
    case TSplitOutcome::Refused:
        ShowMessageBox(this, Messages.NotSave + QStringLiteral("\r\n") + FromBytes(outcome.Reason), Messages.Error,
                       QMessageBox::Critical);
        return;
    case TSplitOutcome::Split:
        break;
    }
    const QString written = Messages.SplitDone.arg(outcome.Written).arg(folder);
    if (outcome.Cancelled) {
        ShowMessageBox(this, Messages.SplitCancelled + QStringLiteral("\r\n") + written, Messages.Info,
                       QMessageBox::Information);
        return;
    }
    if (outcome.Failure.Ok()) {
        ShowMessageBox(this, written, Messages.Info, QMessageBox::Information);
        return;
    }
    // The pieces before the failure stay written; the box says how many.
    ShowMessageBox(this,
                   Messages.NotSave + QStringLiteral("\r\n") + FromBytes(outcome.Failure.Message) +
                       QStringLiteral("\r\n") + written,
                   Messages.Error, QMessageBox::Critical);
}

} // namespace vivizu
