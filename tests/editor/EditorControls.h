#pragma once
// The main window's controls as a test finds them: by their object names,
// the way a user (or an automation tool) addresses them. Tests drive the
// window through these and read what they show.
#include "editor/UnitMP3Editor.h"
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
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#include <QString>
#include <stdexcept>

namespace vivizu::test {

struct TEditorControls {
    explicit TEditorControls(TFrmMP3Editor& form) : Form(form) {}
    operator TFrmMP3Editor&() const { return Form; }

    TFrmMP3Editor& Form;

private:
    template <class T>
    T* Find(const char* name) const {
        T* control = Form.findChild<T*>(QString::fromLatin1(name));
        if (!control)
            throw std::logic_error(std::string("the window has no control named ") + name);
        return control;
    }

public:
    TImage* const FS = Find<TImage>("FS");
    TLabel* const Label10 = Find<TLabel>("Label10");
    TLabel* const Label11 = Find<TLabel>("Label11");
    TLinkLabel* const Label28 = Find<TLinkLabel>("Label28");
    TLinkLabel* const Label29 = Find<TLinkLabel>("Label29");
    TPictureButton* const RzBmpButton1 = Find<TPictureButton>("RzBmpButton1");
    TPictureButton* const RzBmpButton2 = Find<TPictureButton>("RzBmpButton2");
    TPictureButton* const BtnOpenMp3 = Find<TPictureButton>("BtnOpenMp3");
    TPictureButton* const BtnSaveMp3 = Find<TPictureButton>("BtnSaveMp3");
    TPictureButton* const BtnAbout = Find<TPictureButton>("BtnAbout");
    TLabel* const LabelStart = Find<TLabel>("LabelStart");
    TLabel* const LabelEnd = Find<TLabel>("LabelEnd");
    TMaskEdit* const RzMaskEdit1 = Find<TMaskEdit>("RzMaskEdit1");
    TMaskEdit* const RzMaskEdit2 = Find<TMaskEdit>("RzMaskEdit2");
    TGlyphButton* const BtnPlayStart = Find<TGlyphButton>("BtnPlayStart");
    TGlyphButton* const BtnStop = Find<TGlyphButton>("BtnStop");
    TLabel* const Label1 = Find<TLabel>("Label1");
    TTrackBar* const TrackBarPos = Find<TTrackBar>("TrackBarPos");
    TImage* const ImageStart = Find<TImage>("ImageStart");
    TImage* const ImageEnd = Find<TImage>("ImageEnd");
    TPageControl* const RzPageControl1 = Find<TPageControl>("RzPageControl1");
    TTabSheet* const TabSheet2 = Find<TTabSheet>("TabSheet2");
    TTabSheet* const TabSheet1 = Find<TTabSheet>("TabSheet1");
    TLabel* const Label23 = Find<TLabel>("Label23");
    TLabel* const Label24 = Find<TLabel>("Label24");
    TLabel* const Label13 = Find<TLabel>("Label13");
    TLabel* const Label18 = Find<TLabel>("Label18");
    TLabel* const Label14 = Find<TLabel>("Label14");
    TLabel* const Label19 = Find<TLabel>("Label19");
    TLabel* const Label15 = Find<TLabel>("Label15");
    TLabel* const Label20 = Find<TLabel>("Label20");
    TLabel* const Label16 = Find<TLabel>("Label16");
    TLabel* const Label21 = Find<TLabel>("Label21");
    TLabel* const Label17 = Find<TLabel>("Label17");
    TLabel* const Label22 = Find<TLabel>("Label22");
    TCheckBox* const RzCheckBox1 = Find<TCheckBox>("RzCheckBox1");
    TLabel* const Label3 = Find<TLabel>("Label3");
    TEdit* const RzEdit1 = Find<TEdit>("RzEdit1");
    TLabel* const Label4 = Find<TLabel>("Label4");
    TEdit* const RzEdit2 = Find<TEdit>("RzEdit2");
    TLabel* const Label5 = Find<TLabel>("Label5");
    TEdit* const RzEdit3 = Find<TEdit>("RzEdit3");
    TLabel* const Label9 = Find<TLabel>("Label9");
    TComboBox* const RzComboBox1 = Find<TComboBox>("RzComboBox1");
    TLabel* const Label8 = Find<TLabel>("Label8");
    TEdit* const RzEdit5 = Find<TEdit>("RzEdit5");
    TLabel* const Label6 = Find<TLabel>("Label6");
    TEdit* const RzEdit6 = Find<TEdit>("RzEdit6");
    TLabel* const Label7 = Find<TLabel>("Label7");
    TEdit* const RzEdit7 = Find<TEdit>("RzEdit7");
    TPanel* const PanelState = Find<TPanel>("PanelState");
    TImage* const Image1 = Find<TImage>("Image1");
    TLabel* const Label25 = Find<TLabel>("Label25");
    TImage* const ImageFileState1 = Find<TImage>("ImageFileState1");
    TImage* const ImageFileState2 = Find<TImage>("ImageFileState2");
    TLabel* const Label12 = Find<TLabel>("Label12");
    TOpenDialog* const OpenDialog1 = Find<TOpenDialog>("OpenDialog1");
    TSaveDialog* const SaveDialog1 = Find<TSaveDialog>("SaveDialog1");
    TFolderDialog* const FolderDialog1 = Find<TFolderDialog>("FolderDialog1");
    TTimer* const TimerPos = Find<TTimer>("TimerPos");
    TPopupMenu* const PopupMenuView = Find<TPopupMenu>("PopupMenuView");
    TMenuItem* const PM_English = Find<TMenuItem>("PM_English");
    TMenuItem* const PM_Spanish = Find<TMenuItem>("PM_Spanish");
    TMenuItem* const PM_German = Find<TMenuItem>("PM_German");
    TMenuItem* const PM_Italian = Find<TMenuItem>("PM_Italian");
    TMenuItem* const PM_French = Find<TMenuItem>("PM_French");
    TPopupMenu* const PopupMenuOptions = Find<TPopupMenu>("PopupMenuOptions");
    TMenuItem* const PM_KeepID3v2 = Find<TMenuItem>("PM_KeepID3v2");
    TMenuItem* const PM_LengthHeader = Find<TMenuItem>("PM_LengthHeader");
    TMenuItem* const PM_ExactCut = Find<TMenuItem>("PM_ExactCut");
    TMenuItem* const PM_SnapToQuiet = Find<TMenuItem>("PM_SnapToQuiet");
    TMenuItem* const PM_SplitSilence = Find<TMenuItem>("PM_SplitSilence");

};

} // namespace vivizu::test
