// The options menu of the main window: what a save adds to the copied
// frames (the source's ID3v2 tag, a length header, an exact cut) and whether
// markers snap to quiet, kept in the settings file between runs.
#include "editor/UnitMP3Editor.h"
#include "editor/Selection.h"
#include "editor/UnitVolume.h"
#include "engine/RoruvoMp3.h"

#include "i18n/Settings.h"
#include "widgets/LinkLabel.h"
#include "widgets/MenuItem.h"
#include "widgets/PopupMenu.h"

#include <iterator>

namespace vivizu {
namespace {

constexpr const char* OptionsSection = "OPTIONS";
// The settings keys of the ticked options, in the menu's order.
constexpr const char* OptionKeys[] = {"KeepID3v2", "LengthHeader", "ExactCut", "SnapToQuiet"};
// Whether the wide overview strip shows.
constexpr const char* WideOverviewKey = "WideOverview";

} // namespace

void TFrmMP3Editor::WireOptions()
{
    connect(Label29, &TLabel::Click, this, &TFrmMP3Editor::Label29Click);
    for (TMenuItem* item : {PM_KeepID3v2, PM_LengthHeader, PM_ExactCut, PM_SnapToQuiet})
        connect(item, &TMenuItem::Click, this, [this, item] { PM_KeepID3v2Click(item); });
    connect(PM_SplitSilence, &TMenuItem::Click, this, &TFrmMP3Editor::PM_SplitSilenceClick);
    connect(PM_Volume, &TMenuItem::Click, this, &TFrmMP3Editor::PM_VolumeClick);
}

// OK keeps the dialog's values for the saves that follow; Cancel keeps the
// old ones.
// With a file loaded the dialog shows the selection's loudness, measured
// in the background while it is open.
void TFrmMP3Editor::PM_VolumeClick()
{
    TVolumeMeasure measure;
    if (FMp3 && FMp3->Valid) {
        measure.Selection = FSelection;
        measure.Frames = [this] {
            return SelectionFrames(*FMp3, static_cast<int32_t>(FSelection->Start()),
                                   static_cast<int32_t>(FSelection->End()));
        };
    }
    if (ShowVolume(this, FVolume, std::move(measure)))
        ShowVolumeState();
}

// A changed volume colours the options label, so that no save surprises.
void TFrmMP3Editor::ShowVolumeState()
{
    Label29->SetFontColor(FVolume.Active() ? QColor(255, 200, 64) : QColor(Qt::white));
}

void TFrmMP3Editor::Label29Click()
{
    const QPoint corner = Label29->mapToGlobal(QPoint(0, Label29->height()));
    PopupMenuOptions->Popup(corner.x(), corner.y());
}

// The ticks are read when a save builds its cut request.
void TFrmMP3Editor::PM_KeepID3v2Click(TMenuItem* sender)
{
    if (sender == nullptr)
        return;
    sender->SetChecked(!sender->Checked());
}

// A value other than 1 (missing, 0, not a number) leaves the option off.
void TFrmMP3Editor::ReadOptionsSetting()
{
    const TIniFile settings = LoadSettings();
    TMenuItem* const items[] = {PM_KeepID3v2, PM_LengthHeader, PM_ExactCut, PM_SnapToQuiet};
    for (std::size_t i = 0; i < std::size(OptionKeys); ++i)
        items[i]->SetChecked(
            settings.ReadString(OptionsSection, OptionKeys[i], "0") == "1");
    FVolume = ReadVolumeChoices(settings, OptionsSection);
    ShowVolumeState();
    SetWideOverview(settings.ReadString(OptionsSection, WideOverviewKey, "0") == "1");
}

// Throws std::system_error naming the settings file when it cannot be
// written; the close reports it and goes on.
void TFrmMP3Editor::WriteOptionsSetting() const
{
    const TMenuItem* const items[] = {PM_KeepID3v2, PM_LengthHeader, PM_ExactCut, PM_SnapToQuiet};
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t i = 0; i < std::size(OptionKeys); ++i)
        values.emplace_back(OptionKeys[i], items[i]->Checked() ? "1" : "0");
    for (auto& value : VolumeSettingValues(FVolume))
        values.push_back(std::move(value));
    values.emplace_back(WideOverviewKey, PM_WideOverview->Checked() ? "1" : "0");
    WriteSettings(OptionsSection, values);
}

} // namespace vivizu
