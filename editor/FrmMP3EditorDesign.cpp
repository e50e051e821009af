#include "editor/FrmMP3EditorDesign.h"

#include "editor/UnitMP3Editor.h"
#include "i18n/Language.h"
#include "resources/Resources.h"
#include "widgets/CheckBox.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/FolderDialog.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/LinkLabel.h"
#include "widgets/MaskEdit.h"
#include "widgets/MenuItem.h"
#include "widgets/OpenDialog.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureButton.h"
#include "widgets/PopupMenu.h"
#include "widgets/SaveDialog.h"
#include "widgets/TabSheet.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#include <QApplication>
#include <QPixmap>
#include <iterator>

namespace vivizu {

namespace {

const QColor StartGreen(35, 164, 85);  // start field, its caption and marker
const QColor EndRed(216, 65, 58);      // end field, its caption and marker
const QColor CaptionGrey(90, 98, 106); // captions of the value labels
const QColor ValueInk(24, 48, 64);     // the values themselves

// A picture of the window's artwork, sharp at the display's pixel ratio.
QPixmap Art(const QString& name) { return ArtPixmap(name, qApp->devicePixelRatio()); }

TLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, int width,
                  const QString& caption, Qt::Alignment align = Qt::AlignLeft) {
    auto* label = MakeControl<TLabel>(parent, name, left, top, width, 14);
    label->SetAlignment(align | Qt::AlignVCenter);
    label->SetCaption(caption);
    return label;
}

TPictureButton* MakePictureButton(QWidget* parent, const char* name, int left, int top, int width,
                                  int height, const char* art, const QString& hint) {
    auto* button = MakeControl<TPictureButton>(parent, name, left, top, width, height);
    const QString base = QLatin1String(art);
    button->SetNormal(Art(base));
    button->SetHover(Art(base + QStringLiteral("-hover")));
    button->SetDown(Art(base + QStringLiteral("-down")));
    button->SetHint(hint);
    return button;
}

TMaskEdit* MakeTimeField(QWidget* parent, const char* name, int top, const QColor& colour) {
    auto* edit = MakeControl<TMaskEdit>(parent, name, 288, top, 96, 21);
    edit->SetEditMask(QStringLiteral("000:00:00.000;1;_"));
    edit->SetMaxLength(13);
    edit->SetText(QStringLiteral("000:00:00.000"));
    edit->SetFontColor(colour);
    edit->SetFrameColor(colour);
    edit->SetEnabled(false);
    return edit;
}

TGlyphButton* MakeGlyphButton(QWidget* parent, const char* name, int left, const QString& caption,
                              const char* glyph) {
    auto* button = MakeControl<TGlyphButton>(parent, name, left, 114, 88, 48);
    button->SetCaption(caption);
    button->SetGlyph(Art(QLatin1String(glyph)));
    button->SetEnabled(false);
    return button;
}

TEdit* MakeTagEdit(QWidget* parent, const char* name, int left, int top, int width, int maxLength) {
    auto* edit = MakeControl<TEdit>(parent, name, left, top, width, 21);
    edit->SetMaxLength(maxLength);
    edit->SetEnabled(false);
    return edit;
}

} // namespace

// Page "Standard": six captions, each with its value to the right.
void DesignStandardPage(TFrmMP3Editor& f, TTabSheet* page) {
    struct Row {
        TLabel** Caption;
        TLabel** Value;
        const char* CaptionName;
        const char* ValueName;
        const char* Text;
    };
    const Row rows[] = {
        {&f.Label23, &f.Label24, "Label23", "Label24", "File size:"},
        {&f.Label13, &f.Label18, "Label13", "Label18", "Encoding:"},
        {&f.Label14, &f.Label19, "Label14", "Label19", "Channel:"},
        {&f.Label15, &f.Label20, "Label15", "Label20", "SampleRate:"},
        {&f.Label16, &f.Label21, "Label16", "Label21", "Bitrate:"},
        {&f.Label17, &f.Label22, "Label17", "Label22", "Length:"},
    };
    int top = 16;
    for (const auto& row : rows) {
        *row.Caption = MakeLabel(page, row.CaptionName, 20, top, 110, QString::fromLatin1(row.Text),
                                 Qt::AlignRight);
        (*row.Caption)->SetFontColor(CaptionGrey);
        *row.Value = MakeLabel(page, row.ValueName, 142, top, 360, QString());
        (*row.Value)->SetFontColor(ValueInk);
        (*row.Value)->SetBold(true);
        top += 28;
    }
}

// Page "ID3Tags V1": the include box and the tag fields, all disabled.
void DesignTagPage(TFrmMP3Editor& f, TTabSheet* page) {
    f.RzCheckBox1 = MakeControl<TCheckBox>(page, "RzCheckBox1", 20, 10, 200, 18);
    f.RzCheckBox1->SetCaption(QStringLiteral("Include"));
    f.RzCheckBox1->SetChecked(false);
    f.RzCheckBox1->SetEnabled(false);

    // Every field ends at the same right edge (486) as the year field.
    const int captionLeft = 20, captionWidth = 84, fieldLeft = 110, fieldWidth = 376;
    auto caption = [&](const char* name, int left, int top, int width, const char* text) {
        return MakeLabel(page, name, left, top + 3, width, QString::fromLatin1(text),
                         Qt::AlignRight);
    };
    f.Label3 = caption("Label3", captionLeft, 38, captionWidth, "Title:");
    f.RzEdit1 = MakeTagEdit(page, "RzEdit1", fieldLeft, 38, fieldWidth, 30);
    f.Label4 = caption("Label4", captionLeft, 64, captionWidth, "Artist:");
    f.RzEdit2 = MakeTagEdit(page, "RzEdit2", fieldLeft, 64, fieldWidth, 30);
    f.Label5 = caption("Label5", captionLeft, 90, captionWidth, "Album:");
    f.RzEdit3 = MakeTagEdit(page, "RzEdit3", fieldLeft, 90, fieldWidth, 0);

    f.Label9 = caption("Label9", captionLeft, 116, captionWidth, "Genre:");
    f.RzComboBox1 = MakeControl<TComboBox>(page, "RzComboBox1", fieldLeft, 116, 130, 21);
    f.RzComboBox1->SetEnabled(false);
    f.Label8 = caption("Label8", 246, 116, 100, "TrackNumber:");
    f.RzEdit5 = MakeTagEdit(page, "RzEdit5", 350, 116, 36, 3);
    f.Label6 = caption("Label6", 390, 116, 44, "Year:");
    f.RzEdit6 = MakeTagEdit(page, "RzEdit6", 438, 116, 48, 4);

    f.Label7 = caption("Label7", captionLeft, 142, captionWidth, "Comment:");
    f.RzEdit7 = MakeTagEdit(page, "RzEdit7", fieldLeft, 142, fieldWidth, 30);
}

void DesignFrmMP3Editor(TFrmMP3Editor& f) {
    f.setObjectName(QStringLiteral("FrmMP3Editor"));
    f.SetCaption(QStringLiteral("Vivizu"));
    f.SetClientSize(592, 452);

    // Skin and caption strip; everything created later lies above them.
    f.FS = MakeControl<TImage>(&f, "FS", 0, 0, 592, 452);
    f.FS->SetPicture(Art(QStringLiteral("skin")));
    f.Label10 = MakeControl<TLabel>(&f, "Label10", 0, 0, 592, 105);
    f.Label10->SetAlignment(Qt::AlignTop | Qt::AlignLeft);
    f.Label10->SetTransparent(true);

    f.Label11 = MakeControl<TLabel>(&f, "Label11", 12, 8, 220, 16);
    f.Label11->SetFontColor(Qt::white);
    f.Label11->SetBold(true);
    f.Label11->SetAutoSize(true);
    f.Label11->SetCaption(QStringLiteral("Vivizu"));
    f.Label28 = MakeControl<TLinkLabel>(&f, "Label28", 400, 4, 112, 14);
    f.Label28->SetFontColor(Qt::white);
    f.Label28->SetBold(true);
    f.Label28->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    f.Label28->SetCaption(QStringLiteral(">> &Language"));
    f.Label29 = MakeControl<TLinkLabel>(&f, "Label29", 284, 4, 112, 14);
    f.Label29->SetFontColor(Qt::white);
    f.Label29->SetBold(true);
    f.Label29->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    f.Label29->SetCaption(QStringLiteral(">> &Options"));

    f.RzBmpButton2 = MakePictureButton(&f, "RzBmpButton2", 520, 0, 27, 20, "frame-minimize",
                                       QStringLiteral("Minimize"));
    f.RzBmpButton1 = MakePictureButton(&f, "RzBmpButton1", 547, 0, 40, 20, "frame-close",
                                       QStringLiteral("Close"));

    f.BtnOpenMp3 = MakePictureButton(&f, "BtnOpenMp3", 12, 32, 64, 64, "btn-open", QString());
    f.BtnSaveMp3 = MakePictureButton(&f, "BtnSaveMp3", 84, 32, 64, 64, "btn-saveas", QString());
    f.BtnSaveMp3->SetDisabled(Art(QStringLiteral("btn-saveas-disabled")));
    f.BtnSaveMp3->SetEnabled(false);
    f.BtnAbout = MakePictureButton(&f, "BtnAbout", 156, 32, 64, 64, "btn-about", QString());

    // Selection: captions, time fields, preview buttons.
    f.LabelStart =
        MakeLabel(&f, "LabelStart", 240, 120, 43, QStringLiteral("Start tag"), Qt::AlignRight);
    f.LabelStart->SetFontColor(StartGreen);
    f.LabelStart->SetAutoSize(true); // grows leftwards where the font is wider
    f.LabelStart->SetEnabled(false);
    f.LabelEnd = MakeLabel(&f, "LabelEnd", 246, 144, 37, QStringLiteral("End tag"), Qt::AlignRight);
    f.LabelEnd->SetFontColor(EndRed);
    f.LabelEnd->SetAutoSize(true);
    f.LabelEnd->SetEnabled(false);
    f.RzMaskEdit1 = MakeTimeField(&f, "RzMaskEdit1", 116, StartGreen);
    f.RzMaskEdit2 = MakeTimeField(&f, "RzMaskEdit2", 140, EndRed);
    f.BtnPlayStart =
        MakeGlyphButton(&f, "BtnPlayStart", 396, QStringLiteral("&Play"), "glyph-play");
    f.BtnStop = MakeGlyphButton(&f, "BtnStop", 490, QStringLiteral("&Stop"), "glyph-stop");

    // Position bar with its time text and the two markers above it.
    f.Label1 =
        MakeLabel(&f, "Label1", 14, 192, 108, QStringLiteral("000:00:00.000"), Qt::AlignRight);
    f.Label1->SetFontColor(ValueInk);
    f.TrackBarPos = MakeControl<TTrackBar>(&f, "TrackBarPos", 128, 189, 449, 20);
    f.TrackBarPos->SetMin(0);
    f.TrackBarPos->SetMax(100);
    f.TrackBarPos->SetTrackOffset(8);
    f.TrackBarPos->SetThumb(Art(QStringLiteral("thumb")));
    f.TrackBarPos->SetEnabled(false);
    f.ImageStart = MakeControl<TImage>(&f, "ImageStart", 129, 173, 16, 16);
    f.ImageStart->SetCursor(Qt::PointingHandCursor);
    f.ImageStart->SetHint(QStringLiteral("Drag to set start tag"));
    f.ImageStart->SetTransparent(true);
    f.ImageStart->SetEnabled(false);
    f.ImageEnd = MakeControl<TImage>(&f, "ImageEnd", 560, 173, 16, 16);
    f.ImageEnd->SetCursor(Qt::PointingHandCursor);
    f.ImageEnd->SetHint(QStringLiteral("Drag to set end tag"));
    f.ImageEnd->SetTransparent(true);
    f.ImageEnd->SetEnabled(false);

    // Information pages.
    f.RzPageControl1 = MakeControl<TPageControl>(&f, "RzPageControl1", 12, 220, 568, 200);
    f.TabSheet2 = new TTabSheet(f.RzPageControl1);
    f.TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    f.TabSheet2->SetCaption(QStringLiteral("Standard"));
    f.TabSheet1 = new TTabSheet(f.RzPageControl1);
    f.TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    f.TabSheet1->SetCaption(QStringLiteral("ID3Tags V1"));
    f.RzPageControl1->SetActivePage(f.TabSheet2);
    DesignStandardPage(f, f.TabSheet2);
    DesignTagPage(f, f.TabSheet1);

    // Bottom band: file state icons and the path.
    f.ImageFileState1 = MakeControl<TImage>(&f, "ImageFileState1", 8, 432, 16, 16);
    f.ImageFileState1->SetPicture(Art(QStringLiteral("state-valid")));
    f.ImageFileState1->SetVisible(false);
    f.ImageFileState2 = MakeControl<TImage>(&f, "ImageFileState2", 8, 432, 16, 16);
    f.ImageFileState2->SetPicture(Art(QStringLiteral("state-none")));
    f.Label12 = MakeControl<TLabel>(&f, "Label12", 30, 433, 552, 14);
    f.Label12->SetFontColor(Qt::white);
    f.Label12->setTextFormat(Qt::PlainText);

    // Wait panel, above everything else.
    f.PanelState = MakeControl<TPanel>(&f, "PanelState", 201, 201, 190, 50);
    f.PanelState->SetBevelOuter(TPanel::BevelNone);
    f.Image1 = MakeControl<TImage>(f.PanelState, "Image1", 0, 0, 190, 50);
    f.Image1->SetPicture(Art(QStringLiteral("wait-panel")));
    // The text stands right of the spinner and the divider beside it
    // (which the picture draws up to x 45), on as many lines as it needs.
    f.Label25 = MakeControl<TLabel>(f.PanelState, "Label25", 48, 0, 136, 50);
    f.Label25->SetAlignment(Qt::AlignCenter);
    f.Label25->SetWordWrap(true);
    f.Label25->SetFontColor(Qt::white);
    f.Label25->SetBold(true);
    f.Label25->SetCaption(QStringLiteral("Opening......"));
    f.PanelState->SetVisible(false);

    // Components without a place on the window.
    f.OpenDialog1 = new TOpenDialog(&f);
    f.OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    f.OpenDialog1->SetTitle(QStringLiteral("Open MP3 file"));
    f.OpenDialog1->SetFilter(QStringLiteral("MP3(*.mp3)|*.mp3"));
    f.OpenDialog1->SetOptions(TFileDialogBase::HideReadOnly | TFileDialogBase::EnableSizing);
    f.SaveDialog1 = new TSaveDialog(&f);
    f.SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    f.SaveDialog1->SetTitle(QStringLiteral("Save Mp3 file"));
    f.SaveDialog1->SetFilter(QStringLiteral("MP3(*.mp3)|*.mp3"));
    f.SaveDialog1->SetDefaultExt(QStringLiteral(".mp3"));
    f.SaveDialog1->SetOptions(TFileDialogBase::OverwritePrompt | TFileDialogBase::HideReadOnly |
                              TFileDialogBase::EnableSizing);
    f.TimerPos = new TTimer(&f);
    f.TimerPos->setObjectName(QStringLiteral("TimerPos"));
    f.TimerPos->SetEnabled(false);
    f.TimerPos->SetInterval(1000);

    f.PopupMenuView = new TPopupMenu(&f);
    f.PopupMenuView->setObjectName(QStringLiteral("PopupMenuView"));
    // One item per language, in the languages' order, its Tag the language
    // number.
    TMenuItem** const fields[] = {&f.PM_English, &f.PM_Spanish, &f.PM_German, &f.PM_Italian,
                                  &f.PM_French};
    static_assert(std::size(fields) == Languages.size());
    for (std::size_t i = 0; i < Languages.size(); ++i) {
        auto* menuItem = new TMenuItem(f.PopupMenuView);
        menuItem->setObjectName(QLatin1String(Languages[i].MenuItem));
        menuItem->SetCaption(QLatin1String(Languages[i].Caption));
        menuItem->SetRadioItem(true);
        menuItem->SetGroupIndex(1);
        menuItem->SetTag(Languages[i].Number);
        *fields[i] = menuItem;
    }
    f.PM_English->SetChecked(true);

    f.PopupMenuOptions = new TPopupMenu(&f);
    f.PopupMenuOptions->setObjectName(QStringLiteral("PopupMenuOptions"));
    struct Option {
        TMenuItem** Field;
        const char* Name;
        const char* Caption;
    };
    const Option options[] = {
        {&f.PM_KeepID3v2, "PM_KeepID3v2", "Keep ID3v2 tag"},
        {&f.PM_LengthHeader, "PM_LengthHeader", "Write length header"},
        {&f.PM_ExactCut, "PM_ExactCut", "Exact cut (clean start)"},
        {&f.PM_SnapToQuiet, "PM_SnapToQuiet", "Snap markers to quiet"},
        {&f.PM_Volume, "PM_Volume", "Volume and fades..."},
    };
    for (const auto& item : options) {
        auto* menuItem = new TMenuItem(f.PopupMenuOptions);
        menuItem->setObjectName(QLatin1String(item.Name));
        menuItem->SetCaption(QLatin1String(item.Caption));
        *item.Field = menuItem;
    }
    // An action below the ticks: splitting the file at its pauses,
    // into a folder the folder dialog gives.
    f.PM_SplitSilence = new TMenuItem(f.PopupMenuOptions);
    f.PM_SplitSilence->setObjectName(QStringLiteral("PM_SplitSilence"));
    f.PM_SplitSilence->SetCaption(QStringLiteral("Split at silences\u2026"));
    f.FolderDialog1 = new TFolderDialog(&f);
    f.FolderDialog1->setObjectName(QStringLiteral("FolderDialog1"));
    // The edit list's actions, below the split: removing the selection,
    // undo and redo of the selection's edits, and the list's dialog.
    const Option editItems[] = {
        {&f.PM_RemoveSelection, "PM_RemoveSelection", "Remove selection (Del)"},
        {&f.PM_Undo, "PM_Undo", "Undo (Ctrl+Z)"},
        {&f.PM_Redo, "PM_Redo", "Redo (Ctrl+Y)"},
        {&f.PM_EditList, "PM_EditList", "Edit list\u2026"},
    };
    for (const auto& item : editItems) {
        auto* menuItem = new TMenuItem(f.PopupMenuOptions);
        menuItem->setObjectName(QLatin1String(item.Name));
        menuItem->SetCaption(QString::fromUtf8(item.Caption));
        *item.Field = menuItem;
    }

    // What a screen reader says for the buttons whose pictures carry their
    // words, the frame buttons, the position bar and the time fields; a
    // language file replaces any of them ("BtnOpenMp3.AccessibleName=...").
    const struct {
        QWidget* Control;
        const char* Name;
        const char* Description;
    } spoken[] = {
        {f.BtnOpenMp3, "Open", "Opens an MP3 file (Ctrl+O)"},
        {f.BtnSaveMp3, "Save As", "Saves the selection as a new MP3 file (Ctrl+S)"},
        {f.BtnAbout, "About", ""},
        {f.RzBmpButton1, "Close", ""},
        {f.RzBmpButton2, "Minimize", ""},
        {f.TrackBarPos, "Position", "Arrow keys move by one frame, Page Up and Page Down by one second"},
        {f.RzMaskEdit1, "Start tag", "Start of the selection, hours:minutes:seconds.milliseconds"},
        {f.RzMaskEdit2, "End tag", "End of the selection, hours:minutes:seconds.milliseconds"},
    };
    for (const auto& control : spoken) {
        control.Control->setAccessibleName(QLatin1String(control.Name));
        control.Control->setAccessibleDescription(QLatin1String(control.Description));
    }
}

} // namespace vivizu
