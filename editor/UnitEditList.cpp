#include "editor/UnitEditList.h"

#include "chrome/FormShadow.h"
#include "chrome/RoundRegion.h"
#include "editor/DialogButtons.h"
#include "editor/MessageBox.h"
#include "editor/Selection.h"
#include "editor/TimeText.h"
#include "engine/io/SameFile.h"
#include "i18n/Language.h"
#include "platform/ProgramFolder.h"
#include "platform/SmallFile.h"
#include "request/EditList.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/OpenDialog.h"
#include "widgets/PictureButton.h"
#include "widgets/SaveDialog.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTreeWidget>

namespace vivizu {
namespace {

// An edit list is text of a line a stretch: a few megabytes at most.
constexpr std::size_t ListFileLimit = 16u << 20;
constexpr const char* ListFilter = "Edit decision lists (*.edl)|*.edl";

constexpr int ListTop = TFrmEditList::CaptionStripBottom + 8;
constexpr int KeptTop = TFrmEditList::SeparatorTop - 48;
constexpr int RowButtonsTop = TFrmEditList::SeparatorTop - 28;
constexpr int ButtonsTop =
    TFrmEditList::SeparatorTop + (TFrmEditList::DialogHeight - TFrmEditList::SeparatorTop - 23) / 2;

QString FromBytes(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}

} // namespace

TFrmEditList::TFrmEditList(QWidget* owner)
    : TModalDialog(owner), FHeaders{QStringLiteral("Start"), QStringLiteral("End"),
                             QStringLiteral("Length")},
      FKeptWords(QStringLiteral("To be saved: %1")),
      FReadFailedWords(QStringLiteral("The edit list could not be read.")),
      FWriteFailedWords(QStringLiteral("The edit list could not be written.")),
      FSameFileWords(QStringLiteral("this is the MP3 file being edited; choose another name")),
      FErrorCaption(QStringLiteral("Error")) {
    setObjectName(QStringLiteral("FrmEditList"));
    SetCaption(QStringLiteral("Vivizu"));
    SetClientSize(340, DialogHeight);

    // The skin, and the title beside the strip's sign.
    const TDialogSkin skin = MakeDialogSkin(this, DialogHeight, CaptionStripBottom, QStringLiteral("Edit list"));
    FS = skin.Skin;
    LabelTitle = skin.Title;

    ListRemoved = new QTreeWidget(this);
    ListRemoved->setObjectName(QStringLiteral("ListRemoved"));
    ListRemoved->setGeometry(20, ListTop, 300, KeptTop - ListTop - 6);
    ListRemoved->setColumnCount(3);
    ListRemoved->setRootIsDecorated(false);
    ListRemoved->setUniformRowHeights(true);
    ListRemoved->setSelectionMode(QAbstractItemView::SingleSelection);
    ListRemoved->header()->setSectionResizeMode(QHeaderView::Stretch);
    ListRemoved->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListRemoved->setAccessibleName(QStringLiteral("Removed stretches"));

    LabelKept = MakeControl<TLabel>(this, "LabelKept", 22, KeptTop, 296, 17);
    for (TLabel* label : {LabelTitle, LabelKept})
        label->SetTransparent(true);

    BtnPutBack = MakeControl<TGlyphButton>(this, "BtnPutBack", 20, RowButtonsTop, 96, 23);
    BtnPutBack->SetCaption(QStringLiteral("&Put back"));
    BtnImport = MakeControl<TGlyphButton>(this, "BtnImport", 122, RowButtonsTop, 96, 23);
    BtnImport->SetCaption(QStringLiteral("&Import\u2026"));
    BtnExport = MakeControl<TGlyphButton>(this, "BtnExport", 224, RowButtonsTop, 96, 23);
    BtnExport->SetCaption(QStringLiteral("&Export\u2026"));

    // One button closes: what the dialog does is done at once.
    const TDialogButtons buttons = MakeDialogButtons(this, ButtonsTop);
    BtnOk = buttons.Ok;
    BtnOk->SetCaption(QStringLiteral("&Close"));
    BtnOk->move(buttons.Cancel->pos());
    delete buttons.Cancel;
    BtnSysClose = buttons.Close;

    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->SetTitle(QStringLiteral("Import edit list"));
    OpenDialog1->SetFilter(QLatin1String(ListFilter));
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->SetTitle(QStringLiteral("Export edit list"));
    SaveDialog1->SetFilter(QLatin1String(ListFilter));
    SaveDialog1->SetDefaultExt(QStringLiteral("edl"));

    setTabOrder(ListRemoved, BtnPutBack);
    setTabOrder(BtnPutBack, BtnImport);
    setTabOrder(BtnImport, BtnExport);
    setTabOrder(BtnExport, BtnOk);

    connect(ListRemoved, &QTreeWidget::itemSelectionChanged, this,
            [this] { BtnPutBack->SetEnabled(!ListRemoved->selectedItems().isEmpty()); });
    connect(BtnPutBack, &TGlyphButton::Click, this, &TFrmEditList::PutBackChosen);
    connect(BtnImport, &TGlyphButton::Click, this, &TFrmEditList::ImportList);
    connect(BtnExport, &TGlyphButton::Click, this, &TFrmEditList::ExportList);
    connect(BtnOk, &TGlyphButton::Click, this, [this] { SetModalResult(mrOk); });
    connect(BtnSysClose, &TPictureButton::Click, this, [this] { SetModalResult(mrCancel); });
    SetHeaders(FHeaders);
    Create();
}

TFrmEditList::~TFrmEditList() = default;

void TFrmEditList::SetHeaders(const QStringList& headers) {
    FHeaders = headers;
    ListRemoved->setHeaderLabels(headers);
}

void TFrmEditList::SetKeptWords(const QString& words) {
    FKeptWords = words;
    ShowStretches();
}

void TFrmEditList::Attach(TSelection& selection, const std::string& mp3Path) {
    Detach();
    FSelection = &selection;
    FMp3Path = mp3Path;
    const auto show = [this] { ShowStretches(); };
    FLinks.push_back(connect(&selection, &TSelection::RemovedChanged, this, show));
    FLinks.push_back(connect(&selection, &TSelection::StartChanged, this, show));
    FLinks.push_back(connect(&selection, &TSelection::EndChanged, this, show));
    FLinks.push_back(connect(&selection, &QObject::destroyed, this, [this] { Detach(); }));
    ShowStretches();
}

void TFrmEditList::Detach() {
    for (const QMetaObject::Connection& link : FLinks)
        disconnect(link);
    FLinks.clear();
    FSelection = nullptr;
}

void TFrmEditList::ShowStretches() {
    const int chosen = ListRemoved->currentIndex().row();
    ListRemoved->clear();
    if (!FSelection) {
        LabelKept->SetCaption(QString());
        BtnPutBack->SetEnabled(false);
        BtnExport->SetEnabled(false);
        BtnImport->SetEnabled(false);
        return;
    }
    const TRemovedList& removed = FSelection->Removed();
    for (const TRemoved& r : removed)
        new QTreeWidgetItem(ListRemoved, {ShortTimeText(r.FromMs), ShortTimeText(r.ToMs),
                                          ShortTimeText(r.ToMs - r.FromMs)});
    if (!removed.empty())
        ListRemoved->setCurrentItem(
            ListRemoved->topLevelItem(std::clamp(chosen, 0, static_cast<int>(removed.size()) - 1)));
    LabelKept->SetCaption(
        QString(FKeptWords)
            .arg(ShortTimeText(KeptLength(removed, FSelection->Start(), FSelection->End()))));
    BtnPutBack->SetEnabled(!removed.empty());
    BtnExport->SetEnabled(!removed.empty());
    BtnImport->SetEnabled(true);
}

void TFrmEditList::PutBackChosen() {
    const int row = ListRemoved->currentIndex().row();
    if (FSelection && row >= 0)
        FSelection->PutBack(static_cast<std::size_t>(row));
}

QString TFrmEditList::ProposedListName() const {
    const QFileInfo mp3(FromBytes(FMp3Path));
    return mp3.absolutePath() + QLatin1Char('/') + mp3.completeBaseName() + QStringLiteral(".edl");
}

void TFrmEditList::ShowFailure(const QString& words, const QString& path, const QString& reason) {
    ShowMessageBox(this, words + QStringLiteral("\r\n") + path + QStringLiteral(": ") + reason,
                   FErrorCaption, QMessageBox::Critical);
}

void TFrmEditList::ExportList() {
    if (!FSelection || FSelection->Removed().empty())
        return;
    SaveDialog1->SetFileName(ProposedListName());
    if (!SaveDialog1->Execute())
        return;
    const QString path = SaveDialog1->FileName();
    // The list never takes the place of the MP3 it belongs to (a name
    // typed with its ".mp3" keeps it), and another file is replaced only
    // when the user says so.
    if (AreSameFile(FMp3Path, QFile::encodeName(path).toStdString())) {
        ShowFailure(FWriteFailedWords, path, FSameFileWords);
        return;
    }
    if (!AskReplaceFile(this, path, SaveDialog1->Title()))
        return;
    // Written whole or not at all: a failed write keeps the former list.
    QSaveFile file(path);
    const QByteArray text = QByteArray::fromStdString(EditListText(FSelection->Removed()));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        ShowFailure(FWriteFailedWords, path, file.errorString());
}

// The list read replaces the stretches removed so far (one step to undo).
void TFrmEditList::ImportList() {
    if (!FSelection)
        return;
    OpenDialog1->SetFileName(ProposedListName());
    if (!OpenDialog1->Execute())
        return;
    const QString path = OpenDialog1->FileName();
    const TSmallFileRead read = ReadSmallFile(QFile::encodeName(path).toStdString(), ListFileLimit);
    if (!read.Text) {
        ShowFailure(FReadFailedWords, path,
                    read.Refusal.empty() ? QFileInfo(path).exists()
                                               ? QStringLiteral("cannot be read")
                                               : QStringLiteral("no such file")
                                         : FromBytes(read.Refusal));
        return;
    }
    const TEditList list = ParseEditList(*read.Text);
    if (!list.Error.empty()) {
        ShowFailure(FReadFailedWords, path, QString::fromStdString(list.Error));
        return;
    }
    FSelection->SetRemoved(list.Removed);
}

void TFrmEditList::FormCreate() {
    ApplyRoundRegion(*this, FS->geometry());
    FShadow = CreateFormShadow(*this);
}

void TFrmEditList::ModalShown() {
    activateWindow();
    ListRemoved->setFocus(Qt::OtherFocusReason);
}

QAbstractButton* TFrmEditList::DefaultButton() const { return BtnOk; }

void ShowEditList(QWidget* owner, TSelection& selection, const std::string& mp3Path) {
    std::unique_ptr<TFrmEditList> unowned;
    TFrmEditList* dialog = &OwnedDialog(owner, unowned);
    dialog->Attach(selection, mp3Path);
    const auto detach = qScopeGuard([dialog] { dialog->Detach(); });
    dialog->ShowModal();
}

} // namespace vivizu
