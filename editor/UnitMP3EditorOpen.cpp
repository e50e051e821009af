// Opening a file: the Open button, the information panel and the tag page.
#include "editor/MessageBox.h"
#include "editor/OpenFolder.h"
#include "editor/ResultFile.h"
#include "editor/TimeText.h"
#include "editor/UnitMP3Editor.h"
#include "editor/Selection.h"
#include "engine/RoruvoMp3.h"
#include "request/CutRequest.h"
#include "platform/CodePage.h"
#include "widgets/CheckBox.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/MaskEdit.h"
#include "widgets/OpenDialog.h"
#include "widgets/Panel.h"
#include "widgets/PictureButton.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#include <QCoreApplication>
#include <QFile>
#include <QScopeGuard>
#include <algorithm>
#include <cmath>
#include <sys/stat.h>
#include <tuple>
#include <utility>

namespace vivizu {

namespace {

const QString ZeroTime = QStringLiteral("000:00:00.000");

// A tag text field: its bytes up to the first zero byte (all of them when
// there is none), spaces kept, decoded from the tag's code page.
template <std::size_t N>
QString TagText(const char (&field)[N]) {
    return QString::fromStdString(TagTextToUtf8(TagFieldText(field), AnsiCodePage()));
}

// Size and modification time of a file, or -1 for both when it cannot be
// looked at.
std::pair<int64_t, int64_t> FileStamp(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return {-1, -1};
    return {int64_t{st.st_size}, int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec};
}

} // namespace

void TFrmMP3Editor::BtnOpenMp3Click() {
    OpenDialog1->SetInitialDir(OpenDialogFolder());
    if (!OpenDialog1->Execute())
        return;
    OpenFile(OpenDialog1->FileName());
}

void TFrmMP3Editor::OpenFile(const QString& path) {
    RememberOpenedFolder(path);
    StopPreview();
    ShowWaitPanel(Messages.Opening);
    // Whatever happens from here on, the selection becomes the whole of the
    // analysed stream (none when the analysis failed) and the wait panel goes
    // away, also when the reset itself fails (a marker picture missing): the
    // panel must not stay over the window.
    const auto done = qScopeGuard([this] {
        FSelection->SetStream(FMp3->Valid ? FMp3->Info.LengthMs : 0);
        PanelState->SetVisible(false);
    });
    ShowFileName(path);
    ResetFileFields();

    const std::string name = QFile::encodeName(path).toStdString();
    // Taken before the analysis: a change while it runs shows at the save.
    std::tie(FSourceSize, FSourceMTimeNs) = FileStamp(name);
    FMp3->LoadFile(name);
    // The reset above already shows the no-file state for a failed analysis.
    if (FMp3->Valid) {
        ShowLoadedFile();
        ShowOverview();
    } else {
        // An error for the user: the error icon, which readers announce as one.
        ShowMessageBox(this, path + QStringLiteral("\r\n") + Messages.NotMP3, Messages.Info,
                       QMessageBox::Critical);
    }
}

// A new file replaces a running preview: it is stopped before anything else.
void TFrmMP3Editor::StopPreview() {
    TimerPos->SetEnabled(false);
    FMp3->StopPlaying();
    FResultFile.reset();
}

void TFrmMP3Editor::ShowWaitPanel(const QString& text) {
    Label25->SetCaption(text);
    PanelState->SetVisible(true);
    PanelState->raise();
    // One pass of pending events, so that the panel is painted before the
    // long work blocks the window. Clicks and keys wait until the work is
    // done: handling them here could start a second open inside this one.
    PanelState->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Every file-dependent control back to its no-file state.
void TFrmMP3Editor::ResetFileFields() {
    TrackBarPos->SetEnabled(false);
    TrackBarPos->SetPosition(0);
    RzCheckBox1->SetChecked(false);
    RzCheckBox1->SetEnabled(false);
    for (TEdit* edit : {RzEdit1, RzEdit2, RzEdit3, RzEdit5, RzEdit6, RzEdit7})
        edit->SetText(QString());
    RzComboBox1->SetItemIndex(-1);
    for (TLabel* label : {Label18, Label19, Label20, Label21, Label22, Label24})
        label->SetCaption(QString());
    FSelection->SetStream(0);
    HideOverview();
    Label1->SetCaption(ZeroTime);
    BtnPlayStart->SetEnabled(false);
    BtnStop->SetEnabled(false);
    ResetMarkers(false);
    BtnSaveMp3->SetEnabled(false);
    // No valid file from here on, also when the analysis ends in an error.
    ImageFileState1->SetVisible(false);
    ImageFileState2->SetVisible(true);
}

void TFrmMP3Editor::ShowLoadedFile() {
    const TMp3StreamInfo& info = FMp3->Info;
    TrackBarPos->SetEnabled(true);
    // The arrows step by one frame, Page Up and Page Down by a second.
    if (FMp3->Index().Count() > 0)
        TrackBarPos->SetLineSize(
            std::max(1, static_cast<int>(std::lround(FMp3->Index().HeaderOf(0).DurationMs()))));
    TrackBarPos->SetPageSize(1000);
    Label1->SetCaption(QStringLiteral("00:00:00.000"));

    RzCheckBox1->SetEnabled(true);
    RzCheckBox1->SetChecked(info.ID3v1Size > 0);
    if (RzCheckBox1->Checked())
        ShowTag();

    Label18->SetCaption(
        QStringLiteral("MPEG %1 Layer %2").arg(VersionText(VersionNumber(info.Version))).arg(info.Layer));
    Label19->SetCaption(info.Mono ? Messages.Mono : Messages.Stereo);
    Label20->SetCaption(QStringLiteral("%1 Hz").arg(info.SampleRate));
    Label21->SetCaption(QStringLiteral("%1 Kbps").arg(info.Bitrate));
    Label22->SetCaption(MsToTimeText(info.LengthMs));
    Label24->SetCaption(FileSizeText(FMp3->FileSize));

    BtnPlayStart->SetEnabled(true);
    BtnStop->SetEnabled(false);
    ImageFileState2->SetVisible(false);
    ImageFileState1->SetVisible(true);
    BtnSaveMp3->SetEnabled(true);

    // The whole stream is selected once the markers are back on (the
    // opening's last step), also when a marker picture fails here.
    FSelection->SetStream(info.LengthMs);
    ResetMarkers(true);
}

// A newline or other control character in a file name would end or break
// the status line: each is shown as its visible stand-in (U+2400 + code).
void TFrmMP3Editor::ShowFileName(const QString& path) {
    QString shown = path;
    for (QChar& c : shown) {
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode());
        else if (c.unicode() == 0x7F)
            c = QChar(0x2421);
    }
    Label12->SetCaption(shown);
}

bool TFrmMP3Editor::SourceUnchanged() {
    const std::string& name = FMp3->FileName;
    const auto stamp = FileStamp(name);
    // A file that is gone is the cut's to report, with the system's reason.
    if (stamp.first < 0 || stamp == std::make_pair(FSourceSize, FSourceMTimeNs))
        return true;
    const QString path = QFile::decodeName(QByteArray::fromStdString(name));
    // The language files have no text of their own for this.
    ShowMessageBox(this,
                   Messages.NotSave + QStringLiteral("\r\n") + path +
                       QStringLiteral(": the file has changed since it was opened; it has been "
                                      "opened again."),
                   Messages.Error, QMessageBox::Critical);
    OpenFile(path);
    return false;
}

void TFrmMP3Editor::ShowTag() {
    const TID3v1Tag& tag = FMp3->Info.Tag;
    RzEdit1->SetText(TagText(tag.Title));
    RzEdit2->SetText(TagText(tag.Artist));
    RzEdit3->SetText(TagText(tag.Album));
    RzEdit6->SetText(TagText(tag.Year));
    RzEdit7->SetText(TagText(tag.Comment));
    if (tag.Track > 0)
        RzEdit5->SetText(QString::number(tag.Track));
    // A genre number the list does not have leaves no selection.
    RzComboBox1->SetItemIndex(tag.Genre < RzComboBox1->Count() ? tag.Genre : -1);
}

} // namespace vivizu
