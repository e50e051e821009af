#pragma once
// The edit list dialog: the stretches removed from the loaded stream with
// their start, end and length, the length a save of the selection writes,
// a button that puts the chosen stretch back, and the export and import of
// the list as an edit decision list (".edl", beside the MP3 by default).
// It works on the window's selection directly, so every change it makes is
// an edit the window's undo history records. Skinned like the volume
// dialog.
#include "editor/DialogButtons.h"
#include "editor/ModalDialog.h"

#include <QMetaObject>
#include <QStringList>
#include <memory>
#include <string>

class QTreeWidget;

namespace vivizu {

class TFormShadow;
class TGlyphButton;
class TImage;
class TLabel;
class TOpenDialog;
class TPictureButton;
class TSaveDialog;
class TSelection;

class TFrmEditList : public TModalDialog {
    Q_OBJECT
    // The list's column titles, "Start||End||Length" in a language file.
    Q_PROPERTY(QStringList Headers READ Headers WRITE SetHeaders)
    // %1: the length a save of the selection writes.
    Q_PROPERTY(QString KeptWords READ KeptWords WRITE SetKeptWords)
    Q_PROPERTY(QString ReadFailedWords READ ReadFailedWords WRITE SetReadFailedWords)
    Q_PROPERTY(QString WriteFailedWords READ WriteFailedWords WRITE SetWriteFailedWords)
    Q_PROPERTY(QString SameFileWords READ SameFileWords WRITE SetSameFileWords)
    Q_PROPERTY(QString ErrorCaption READ ErrorCaption WRITE SetErrorCaption)

public:
    explicit TFrmEditList(QWidget* owner = nullptr);
    ~TFrmEditList() override;

    static constexpr int DialogHeight = 300;
    static constexpr int CaptionStripBottom = SkinStripBottom(DialogHeight);
    static constexpr int SeparatorTop = SkinSeparatorTop(DialogHeight);

    TImage* FS = nullptr;
    TLabel* LabelTitle = nullptr; // "Edit list", in the caption strip
    QTreeWidget* ListRemoved = nullptr;
    TLabel* LabelKept = nullptr; // "To be saved: …"
    TGlyphButton* BtnPutBack = nullptr;
    TGlyphButton* BtnImport = nullptr;
    TGlyphButton* BtnExport = nullptr;
    TGlyphButton* BtnOk = nullptr; // closes the dialog
    TPictureButton* BtnSysClose = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

    // Shows and edits selection's stretches until Detach; mp3Path (the
    // loaded file, in the file system's bytes) names the list proposed by
    // export and import.
    void Attach(TSelection& selection, const std::string& mp3Path);
    void Detach();

    QStringList Headers() const { return FHeaders; }
    void SetHeaders(const QStringList& headers);
    QString KeptWords() const { return FKeptWords; }
    void SetKeptWords(const QString& words);
    QString ReadFailedWords() const { return FReadFailedWords; }
    void SetReadFailedWords(const QString& words) { FReadFailedWords = words; }
    QString WriteFailedWords() const { return FWriteFailedWords; }
    void SetWriteFailedWords(const QString& words) { FWriteFailedWords = words; }
    QString SameFileWords() const { return FSameFileWords; }
    void SetSameFileWords(const QString& words) { FSameFileWords = words; }
    QString ErrorCaption() const { return FErrorCaption; }
    void SetErrorCaption(const QString& words) { FErrorCaption = words; }

    TFormShadow* Shadow() const { return FShadow.get(); }

protected:
    void FormCreate() override;
    void ModalShown() override;
    QAbstractButton* DefaultButton() const override;

private:
    // The list and the saved length as the selection stands.
    void ShowStretches();
    void PutBackChosen();
    void ExportList();
    void ImportList();
    // The list file beside the MP3: its folder and its name with ".edl".
    QString ProposedListName() const;
    void ShowFailure(const QString& words, const QString& path, const QString& reason);

    std::unique_ptr<TFormShadow> FShadow;
    TSelection* FSelection = nullptr;
    std::string FMp3Path;
    std::vector<QMetaObject::Connection> FLinks;
    QStringList FHeaders;
    QString FKeptWords;
    QString FReadFailedWords;
    QString FWriteFailedWords;
    QString FSameFileWords;
    QString FErrorCaption;
};

// Shows owner's edit list dialog (made on first use) on selection, in the
// current language.
void ShowEditList(QWidget* owner, TSelection& selection, const std::string& mp3Path);

} // namespace vivizu
