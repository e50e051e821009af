// Saving the selection: the Save As button, the refusal of the loaded file
// as destination, the tag record from the tag page, the wait panel.
#include "editor/MessageBox.h"
#include "editor/SaveTag.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "engine/io/SameFile.h"
#include "widgets/Application.h"
#include "widgets/CheckBox.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/Panel.h"
#include "widgets/SaveDialog.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cstring>
#include <system_error>

namespace vivizu {

namespace {

// What the error report says when writing failed: the system's own text
// and the file that was to be written.
QString SaveErrorText(const std::exception& error, const QString& path) {
    QString reason;
    if (const auto* system = dynamic_cast<const std::system_error*>(&error))
        reason = QString::fromLocal8Bit(system->code().message());
    else
        reason = QString::fromUtf8(error.what());
    return path + QStringLiteral("\n") + reason;
}

} // namespace

// The loaded file, named by path: the same file on disk, however spelled.
// Names that differ only in letter case are one file only where the file
// system folds case, which the identity shows.
bool TFrmMP3Editor::IsLoadedFile(const QString& path) const {
    return AreSameFile(FMp3->FileName, QFile::encodeName(path).toStdString());
}

void TFrmMP3Editor::BtnSaveMp3Click() {
    // The first time, the dialog opens in the folder of the loaded file;
    // after that it starts from the name it was last given.
    const bool firstUse = SaveDialog1->FileName().isEmpty();
    if (firstUse)
        SaveDialog1->SetInitialDir(
            QFileInfo(QFile::decodeName(QByteArray::fromStdString(FMp3->FileName))).absolutePath());
    const bool chosen = SaveDialog1->Execute();
    if (firstUse)
        SaveDialog1->SetInitialDir(QString());
    if (!chosen)
        return;
    const QString path = SaveDialog1->FileName();

    if (IsLoadedFile(path)) {
        ShowMessageBox(this, Messages.NotSaveName + path, Messages.Info, QMessageBox::Information);
        return;
    }

    bool ok = false;
    QString failure;
    {
        ShowWaitPanel(Messages.Waiting);
        const auto hidePanel = qScopeGuard([this] { PanelState->SetVisible(false); });
        // The preview device lets go of the file before it is read.
        FMp3->StopPlaying();
        const TID3v1Tag tag = SaveTag();
        try {
            ok = FMp3->SaveSegment(static_cast<int32_t>(FStartTime), static_cast<int32_t>(FEndTime),
                                   QFile::encodeName(path).toStdString(), tag);
        } catch (const std::exception& error) {
            // Nothing half-written is left: the new file takes the
            // destination's place only once it is complete.
            failure = SaveErrorText(error, path);
        }
    }
    if (!failure.isEmpty())
        TApplication::ReportError(failure);
    else if (!ok)
        ShowMessageBox(this, Messages.NotSave, Messages.Error, QMessageBox::Critical);
}

// The tag to write: from the tag page when "Include" is ticked, otherwise
// a record with no marker, which writes no tag.
TID3v1Tag TFrmMP3Editor::SaveTag() const {
    TID3v1Tag tag;
    std::memset(&tag, 0, sizeof tag);
    if (!RzCheckBox1->Checked())
        return tag;
    std::memcpy(tag.Marker, "TAG", 3);
    PutTagField(tag.Title, CutToBytes(RzEdit1->Text(), 30));
    PutTagField(tag.Artist, CutToBytes(RzEdit2->Text(), 30));
    PutTagField(tag.Album, CutToBytes(RzEdit3->Text(), 30));
    PutTagField(tag.Year, CutToBytes(RzEdit6->Text(), 4));
    // With a track number the comment gives up its last two bytes to it.
    const uint8_t track = TrackFieldNumber(RzEdit5->Text());
    PutTagField(tag.Comment, CutToBytes(RzEdit7->Text(), track > 0 ? 28 : 30));
    tag.Track = track;
    // No genre selected (-1) is 255 in the tag's byte.
    tag.Genre = static_cast<uint8_t>(RzComboBox1->ItemIndex());
    return tag;
}

} // namespace vivizu
