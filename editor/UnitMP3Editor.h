#pragma once
// The main window: opens one MP3 file, shows its stream properties and its
// ID3v1 tag, and holds the selection that preview and saving work on.
// Its controls are created by DesignFrmMP3Editor (FrmMP3EditorDesign.h),
// which names each one by its component name.
#include "editor/EditHistory.h"
#include "editor/MarkerDrag.h"
#include "editor/VolumeChoices.h"
#include "engine/decode/LevelCache.h"
#include "i18n/Messages.h"
#include "widgets/Form.h"

#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

class QMimeData;
class QTimer;

namespace vivizu {

class TRoruvoMP3;
class TAnnouncer;
class TFormShadow;
class TCaptionDrag;
class TImage;
class TLabel;
class TLinkLabel;
class TPictureButton;
class TGlyphButton;
class TMaskEdit;
class TTrackBar;
class TPageControl;
class TTabSheet;
class TPanel;
class TCheckBox;
class TEdit;
class TComboBox;
class TOpenDialog;
class TSaveDialog;
class TFolderDialog;
class TTimer;
class TPopupMenu;
class TMenuItem;

// The one local file a drag carries (not a folder), or empty when it
// carries anything else.
QString DroppedFile(const QMimeData* data);

class TSelection;
class TSelectionMarkers;
class TOverviewBand;
class TOverviewJob;
class TOverviewSpeech;
class TQtTexts;
struct TCutChoices;
struct TSplitChoices;
struct TCutResult;
class TResultFile;

// The window's public face is what a user can do from outside: open a file,
// switch the language. Everything else goes through its controls, which
// tests find by their object names.
class TFrmMP3Editor : public TForm {
    Q_OBJECT

public:
    explicit TFrmMP3Editor(QWidget* parent = nullptr);
    ~TFrmMP3Editor() override;

    // The window's drop shadow; null once the window has closed.
    TFormShadow* Shadow() const { return FShadow.get(); }

    // Puts a language's texts and messages on the window.
    void ApplyLanguage(int number);

    // Opens path as the Open button does once its dialog has given it: the
    // wait panel, the analysis, the messages for a missing file or one that
    // is not an MP3.
    void OpenFile(const QString& path);
    // OpenFile(path) after the current event, unless the window is busy by
    // then; exceptions go to the application's error report.
    void OpenFileLater(const QString& path);
    // The wait panel is up: a file is being opened or a selection saved.
    bool Busy() const;
    // How long the status line says where a save went.
    static constexpr int SavedNoticeMs = 4000;

protected:
    void FormCreate() override;
    void FormClose() override;

private:
    friend void DesignFrmMP3Editor(TFrmMP3Editor& form);
    friend void DesignStandardPage(TFrmMP3Editor& form, TTabSheet* page);
    friend void DesignTagPage(TFrmMP3Editor& form, TTabSheet* page);

    // The window's components. Qt parenting owns them; the pointers stay
    // valid for the window's life.
    TImage* FS = nullptr;                   // skin picture, also the window's outline
    TLabel* Label10 = nullptr;              // caption strip: drags the window
    TLabel* Label11 = nullptr;              // product title
    TLinkLabel* Label28 = nullptr;          // opens the language menu
    TLinkLabel* Label29 = nullptr;          // opens the options menu
    TPictureButton* RzBmpButton1 = nullptr; // close
    TPictureButton* RzBmpButton2 = nullptr; // minimise
    TPictureButton* BtnOpenMp3 = nullptr;
    TPictureButton* BtnSaveMp3 = nullptr;
    TPictureButton* BtnAbout = nullptr;
    TLabel* LabelStart = nullptr;
    TLabel* LabelEnd = nullptr;
    TMaskEdit* RzMaskEdit1 = nullptr; // selection start as time text
    TMaskEdit* RzMaskEdit2 = nullptr; // selection end as time text
    TGlyphButton* BtnPlayStart = nullptr;
    TGlyphButton* BtnStop = nullptr;
    TLabel* Label1 = nullptr; // time text of the position bar
    TTrackBar* TrackBarPos = nullptr;
    TImage* ImageStart = nullptr; // start marker
    TImage* ImageEnd = nullptr;   // end marker
    TPageControl* RzPageControl1 = nullptr;
    TTabSheet* TabSheet2 = nullptr; // "Standard"
    TTabSheet* TabSheet1 = nullptr; // "ID3Tags V1"
    TLabel* Label23 = nullptr;      // "File size:"
    TLabel* Label24 = nullptr;
    TLabel* Label13 = nullptr; // "Encoding:"
    TLabel* Label18 = nullptr;
    TLabel* Label14 = nullptr; // "Channel:"
    TLabel* Label19 = nullptr;
    TLabel* Label15 = nullptr; // "SampleRate:"
    TLabel* Label20 = nullptr;
    TLabel* Label16 = nullptr; // "Bitrate:"
    TLabel* Label21 = nullptr;
    TLabel* Label17 = nullptr; // "Length:"
    TLabel* Label22 = nullptr;
    TCheckBox* RzCheckBox1 = nullptr; // "Include"
    TLabel* Label3 = nullptr;         // "Title:"
    TEdit* RzEdit1 = nullptr;
    TLabel* Label4 = nullptr; // "Artist:"
    TEdit* RzEdit2 = nullptr;
    TLabel* Label5 = nullptr; // "Album:"
    TEdit* RzEdit3 = nullptr;
    TLabel* Label9 = nullptr; // "Genre:"
    TComboBox* RzComboBox1 = nullptr;
    TLabel* Label8 = nullptr; // "TrackNumber:"
    TEdit* RzEdit5 = nullptr;
    TLabel* Label6 = nullptr; // "Year:"
    TEdit* RzEdit6 = nullptr;
    TLabel* Label7 = nullptr; // "Comment:"
    TEdit* RzEdit7 = nullptr;
    TPanel* PanelState = nullptr;      // wait panel
    TImage* Image1 = nullptr;          // wait panel background
    TLabel* Label25 = nullptr;         // wait panel text
    TImage* ImageFileState1 = nullptr; // a valid file is loaded
    TImage* ImageFileState2 = nullptr; // no valid file
    TLabel* Label12 = nullptr;         // path of the chosen file
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TTimer* TimerPos = nullptr;
    TPopupMenu* PopupMenuView = nullptr;
    TMenuItem* PM_English = nullptr;
    TMenuItem* PM_Spanish = nullptr;
    TMenuItem* PM_German = nullptr;
    TMenuItem* PM_Italian = nullptr;
    TMenuItem* PM_French = nullptr;
    TPopupMenu* PopupMenuOptions = nullptr; // what a save adds to the frames
    TMenuItem* PM_KeepID3v2 = nullptr;
    TMenuItem* PM_LengthHeader = nullptr;
    TMenuItem* PM_ExactCut = nullptr;
    TMenuItem* PM_SnapToQuiet = nullptr;    // dropped or typed markers move into pauses
    TMenuItem* PM_SplitSilence = nullptr;   // splits the file at its pauses
    TFolderDialog* FolderDialog1 = nullptr; // the pieces' folder
    TMenuItem* PM_Volume = nullptr;         // "Volume and fades..."
    // The edit list: removing the selection, undo and redo of the
    // selection's edits, the list's dialog.
    TMenuItem* PM_RemoveSelection = nullptr;
    TMenuItem* PM_Undo = nullptr;
    TMenuItem* PM_Redo = nullptr;
    TMenuItem* PM_EditList = nullptr;

    // The wide overview strip (">> Options"): a second overview of the same
    // selection across the window, below the skin, which grows downwards by
    // the strip's height while it shows. Kept in the settings file.
    TMenuItem* PM_WideOverview = nullptr;
    QWidget* FWideStrip = nullptr;
    TOverviewBand* FWideOverview = nullptr;
    static constexpr int WideStripHeight = 84;
    void WireWideOverview();
    void SetWideOverview(bool shown);
    // The wide strip's levels and look follow the header's band.
    void FollowOverview(bool newStream);

    // The message texts of the boxes and the wait panel.
    TMessageTexts Messages;

    void LoadMessages(const std::string& path);

    // Handlers of the frame, the menus and the About button.
    void RzBmpButton1Click();
    void RzBmpButton2Click();
    void BtnAboutClick();
    void Label10MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void Label28Click();
    void PM_EnglishClick(TMenuItem* sender);
    void Label29Click();
    // A click on one of the three options ticks or unticks it.
    void PM_KeepID3v2Click(TMenuItem* sender);

    // The options menu's ticks from and to section "OPTIONS" of the
    // settings file.
    void ReadOptionsSetting();
    void WriteOptionsSetting() const;
    // The volume dialog, and the options label that shows a changed volume.
    void PM_VolumeClick();
    void ShowVolumeState();

    // Opening a file.
    void BtnOpenMp3Click();
    // Switches the tag fields on or off with the "Include" box.
    void RzCheckBox1Click();

    // Puts both markers back at the ends of the position bar, loads their
    // pictures and switches the markers, their captions and the time fields
    // on or off. A picture that cannot be read throws, leaving the later
    // steps undone.
    void ResetMarkers(bool enabled);
    // Shows the selection's start or end in its time field while the field
    // is enabled; a disabled field shows time zero.
    void ShowSelectionTime(TMarkerWhich which);
    // Change of either time field's text: reads the typed time, keeps it
    // within its bounds, rewrites the field when needed and hands the time
    // to the selection.
    void RzMaskEdit1Change(TMaskEdit* sender);

    // Preview.
    void BtnPlayStartClick();
    void BtnStopClick();
    // Once a second while a preview plays: follows its position, and goes
    // back to idle once it has reached its end.
    void TimerPosTimer();
    void TrackBarPosChange();
    void PlayFromStartTag();
    void PlayFromEndTag();
    void PlayFromCurrent();
    // Writes what a save would write now to a temporary file and plays it
    // from its start to its end; the file goes when the preview ends.
    void PlayResult();

    // Saving: asks for a destination (never the loaded file itself) and
    // writes the selection there as the tag page and the options menu say.
    void BtnSaveMp3Click();
    // Writes the selection to path and tells the user of every refusal or
    // failure, naming the file concerned and the reason.
    void SaveSelection(const QString& path);
    // The status line says the selection was saved to path, for a while.
    void ShowSaved(const QString& path);
    // The selection written to destination as a save writes it now: the
    // tag page, the options menu and the volume, a loudness target's steps
    // measured on the selection first (a failed measurement is a refusal).
    TCutResult CutSelection(const std::string& destination);
    // Tells the user of a cut that was not done: failed starts the box of a
    // refusal.
    void ReportCutFailure(const TCutResult& result, const std::string& destination,
                          const QString& failed);
    // False, after telling the user and opening the file again, when the
    // loaded file has changed on disk since it was analysed.
    bool SourceUnchanged();
    // What the tag page and the options menu ask of a cut.
    TCutChoices CutChoices() const;
    // Whether path names the loaded file: the same file on disk, under any
    // name (engine/io/SameFile.h).
    bool IsLoadedFile(const QString& path) const;
    bool SelectionHasLength(const QString& failed);

    // Splitting at silences: asks for the threshold and shortest pause and
    // for a folder, then writes the pieces of the loaded file's pauses there
    // with the options of a save.
    void PM_SplitSilenceClick();
    void SplitAtSilences(const QString& folder, const TSplitChoices& choices);

    // Binding of the handlers to the controls' events, by area.
    void WireEvents();
    void WireSelection();
    void WirePreview();
    // File drops onto the window and the Ctrl+O and Ctrl+S shortcuts.
    void WireOpenFromOutside();
    void WireOptions();
    // Keyboard use: the order Tab follows, the keys that open the menus.
    void WireKeyboard();
    // The overview band and its background decode.
    void WireOverview();
    void ShowOverview();
    void HideOverview();
    // Snapping markers to quiet: a dropped marker or a typed time moves to
    // the quietest boundary within a second when the option is ticked, and
    // the position time shows the move for a moment.
    void WireSnap();
    void SnapMarker(TMarkerWhich which);
    void ShowSnapHint(int64_t from, int64_t to);
    // The edit list and the undo history: Delete and Ctrl+Z, Ctrl+Y,
    // Ctrl+Shift+Z, their menu items, and the end of a gesture (a drop, a
    // typed time done, a key on the overview) that closes a step.
    void WireEditList();
    void RemoveSelection();
    void UndoEdit();
    void RedoEdit();
    void PM_EditListClick();
    // The selection's edit as a step of the history.
    void RecordEdit();
    TEditState EditState() const;
    // The menu items enabled as far as there is something to do.
    void ShowEditItems();

    void StopPreview();
    void ResetFileFields();
    void ShowLoadedFile();
    void ShowTag();
    void ShowWaitPanel(const QString& text);
    // The path of the chosen file in the status line, with control
    // characters made visible.
    void ShowFileName(const QString& path);

    bool StartPreview(int64_t from);
    // The preview controls while playing; the bar shows offset plus the
    // device's position, and last once the preview has run out.
    void ShowPreviewing(int64_t offset, int64_t last);
    void EndPreview();

    std::unique_ptr<TRoruvoMP3> FMp3;
    std::unique_ptr<TFormShadow> FShadow;
    // Qt's own texts (dialogs, standard buttons) in the window's language.
    std::unique_ptr<TQtTexts> FQtTexts;
    TCaptionDrag* FCaptionDrag = nullptr;
    TSelection* FSelection = nullptr;
    TSelectionMarkers* FMarkers = nullptr;
    TOverviewBand* FOverview = nullptr;
    TOverviewJob* FOverviewJob = nullptr;
    TOverviewSpeech* FOverviewSpeech = nullptr; // the overview in words, for screen readers
    TAnnouncer* FAnnouncer = nullptr; // notices said to screen readers ("Saved as")
    // The file whose levels the overview's decode is working on, for the
    // levels cache.
    TFileIdentity FOverviewFile;
    QTimer* FSnapHintTimer = nullptr; // puts the position time back after a snap's hint
    QRect FLabel1Bounds;              // the position time's place, widened for a hint
    // Per time field (start, end): typed into since its last snap.
    bool FTypedTime[2] = {false, false};
    // Size and modification time of the loaded file as it was analysed.
    int64_t FSourceSize = -1;
    int64_t FSourceMTimeNs = -1;
    // Gain, fades and loudness target of the saves (the volume dialog).
    TVolumeChoices FVolume;
    // The selection's edits since the file was opened, for undo and redo.
    TEditHistory FHistory;
    // The result being played, and where the bar's times start and end.
    std::unique_ptr<TResultFile> FResultFile;
    int64_t FPreviewOffset = 0;
    int64_t FPreviewLast = 0;
    // The stretches the result being played leaves out, which the bar
    // steps over.
    TRemovedList FPreviewSkipped;
};

} // namespace vivizu
