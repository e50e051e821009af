#include "editor/UnitMP3Editor.h"

#include "chrome/CaptionDrag.h"
#include "chrome/FormShadow.h"
#include "chrome/RoundRegion.h"
#include "chrome/UnitAbout.h"
#include "editor/FrmMP3EditorDesign.h"
#include "editor/PreviewDevice.h"
#include "editor/ResultFile.h"
#include "editor/TimeText.h"
#include "engine/RoruvoMp3.h"
#include "i18n/Language.h"
#include "i18n/QtTexts.h"
#include "platform/ProgramFolder.h"
#include "widgets/Announcer.h"
#include "widgets/Application.h"
#include "widgets/CheckBox.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/LinkLabel.h"
#include "widgets/MaskEdit.h"
#include "widgets/MenuItem.h"
#include "widgets/PictureButton.h"
#include "widgets/PopupMenu.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#include <QCoreApplication>
#include <QShowEvent>
#include <exception>
#include <iostream>

namespace vivizu {

TFrmMP3Editor::TFrmMP3Editor(QWidget* parent) : TForm(parent) {
    DesignFrmMP3Editor(*this);
    WireEvents();
    Create();
}

TFrmMP3Editor::~TFrmMP3Editor() = default;

void TFrmMP3Editor::WireEvents() {
    connect(BtnOpenMp3, &TPictureButton::Click, this, &TFrmMP3Editor::BtnOpenMp3Click);
    connect(BtnAbout, &TPictureButton::Click, this, &TFrmMP3Editor::BtnAboutClick);
    connect(RzBmpButton1, &TPictureButton::Click, this, &TFrmMP3Editor::RzBmpButton1Click);
    connect(RzBmpButton2, &TPictureButton::Click, this, &TFrmMP3Editor::RzBmpButton2Click);
    connect(RzCheckBox1, &TCheckBox::Click, this, &TFrmMP3Editor::RzCheckBox1Click);
    connect(Label10, &TLabel::MouseDown, this, &TFrmMP3Editor::Label10MouseDown);
    connect(Label28, &TLabel::Click, this, &TFrmMP3Editor::Label28Click);
    for (TMenuItem* item : {PM_English, PM_Spanish, PM_German, PM_Italian, PM_French})
        connect(item, &TMenuItem::Click, this, [this, item] { PM_EnglishClick(item); });
    FCaptionDrag = new TCaptionDrag(Label10, this);
    FAnnouncer = new TAnnouncer(this);
    FAnnouncer->setObjectName(QStringLiteral("Announcer"));
    WireSelection();
    WireOverview();
    WirePreview();
    WireOpenFromOutside();
    WireOptions();
    WireSnap();
    WireEditList();
    WireKeyboard();
    WireWideOverview();
    connect(BtnSaveMp3, &TPictureButton::Click, this, &TFrmMP3Editor::BtnSaveMp3Click);
}

// Start-up: program folder, language, outline, shadow, engine, genre list,
// markers. A step that throws ends the sequence; the application reports it
// and the window is shown all the same.
void TFrmMP3Editor::FormCreate() {
    // Computed once for the program's life; a test may have chosen it.
    if (ProgramFolder().empty())
        SetProgramFolder(DataFolderFor(ExecutableFolder()));
    ReadLanguageSetting();
    if (CurrentLanguage == NoLanguageChosen)
        CurrentLanguage = static_cast<uint8_t>(LanguageFromLocale());
    ApplyLanguage(CurrentLanguage);
    ApplyRoundRegion(*this, FS->geometry());

    FShadow = CreateFormShadow(*this);

    FMp3 = std::make_unique<TRoruvoMP3>(std::string(), MakePreviewDevice());
    FMp3->EstimateLevels = true; // the overview's first picture

    // All the genres in one go: the list's model takes them in one insert.
    QStringList genres;
    genres.reserve(static_cast<qsizetype>(std::size(ID3v1Genres)));
    for (const char* genre : ID3v1Genres)
        genres.append(QString::fromLatin1(genre));
    RzComboBox1->SetItems(genres);
    RzComboBox1->SetItemIndex(-1);

    ReadOptionsSetting();
    ResetMarkers(false);
}

// Close: the engine (which releases its playback device), the shadow, then
// the language setting. A settings file that cannot be written is reported
// on standard error: closing must not stop over it.
void TFrmMP3Editor::FormClose() {
    TimerPos->SetEnabled(false);
    HideOverview();
    FMp3.reset();
    FResultFile.reset();
    FShadow.reset();
    try {
        WriteOptionsSetting();
        WriteLanguageSetting();
    } catch (const std::exception& error) {
        std::cerr << "vivizu: the settings were not saved: " << error.what() << '\n';
    }
}

void TFrmMP3Editor::RzBmpButton1Click() { Close(); }

void TFrmMP3Editor::RzBmpButton2Click() { TApplication::Minimize(); }

void TFrmMP3Editor::BtnAboutClick() { ShowAboutBox(this); }

void TFrmMP3Editor::Label10MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers /*shift*/, int x,
                                     int y) {
    FCaptionDrag->Begin(button, x, y);
}

void TFrmMP3Editor::RzCheckBox1Click() {
    const bool on = RzCheckBox1->Checked();
    for (TEdit* edit : {RzEdit1, RzEdit2, RzEdit3, RzEdit5, RzEdit6, RzEdit7})
        edit->SetEnabled(on);
    RzComboBox1->SetEnabled(on);
}

} // namespace vivizu
