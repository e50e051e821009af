// The options menu of the main window: what a save adds to the copied
// frames (the source's ID3v2 tag, a length header, an exact cut), kept in
// the settings file between runs.
#include "editor/UnitMP3Editor.h"

#include "engine/RoruvoMp3.h"
#include "platform/CodePage.h"
#include "i18n/Settings.h"
#include "widgets/LinkLabel.h"
#include "widgets/MenuItem.h"
#include "widgets/PopupMenu.h"


namespace vivizu {
namespace {

constexpr const char* OptionsSection = "OPTIONS";

struct TOptionKey {
    TMenuItem* TFrmMP3Editor::*Item;
    const char* Key;
};
constexpr TOptionKey OptionKeys[] = {
    {&TFrmMP3Editor::PM_KeepID3v2, "KeepID3v2"},
    {&TFrmMP3Editor::PM_LengthHeader, "LengthHeader"},
    {&TFrmMP3Editor::PM_ExactCut, "ExactCut"},
};

} // namespace

void TFrmMP3Editor::WireOptions()
{
    connect(Label29, &TLabel::Click, this, &TFrmMP3Editor::Label29Click);
    for (TMenuItem* item : {PM_KeepID3v2, PM_LengthHeader, PM_ExactCut})
        connect(item, &TMenuItem::Click, this, [this, item] { PM_KeepID3v2Click(item); });
}

void TFrmMP3Editor::Label29Click()
{
    const QPoint corner = Label29->mapToGlobal(QPoint(0, Label29->height()));
    PopupMenuOptions->Popup(corner.x(), corner.y());
}

void TFrmMP3Editor::PM_KeepID3v2Click(TMenuItem* sender)
{
    if (sender == nullptr)
        return;
    sender->SetChecked(!sender->Checked());
    ApplyCutOptions();
}

void TFrmMP3Editor::ApplyCutOptions()
{
    if (!FMp3)
        return;
    TCutOptions options;
    options.KeepID3v2 = PM_KeepID3v2->Checked();
    options.LengthHeader = PM_LengthHeader->Checked();
    options.ExactCut = PM_ExactCut->Checked();
    options.TagTextToUtf8 = [](std::string_view text) { return AnsiToUtf8(text, AnsiCodePage()); };
    FMp3->CutOptions = std::move(options);
}

// A value other than 1 (missing, 0, not a number) leaves the option off.
void TFrmMP3Editor::ReadOptionsSetting()
{
    const TIniFile settings = LoadSettings();
    for (const TOptionKey& option : OptionKeys)
        (this->*option.Item)->SetChecked(settings.ReadString(OptionsSection, option.Key, "0") == "1");
    ApplyCutOptions();
}

// Throws std::system_error naming the settings file when it cannot be
// written; the close reports it and goes on.
void TFrmMP3Editor::WriteOptionsSetting() const
{
    std::vector<std::pair<std::string, std::string>> values;
    for (const TOptionKey& option : OptionKeys)
        values.emplace_back(option.Key, (this->*option.Item)->Checked() ? "1" : "0");
    WriteSettings(OptionsSection, values);
}

} // namespace vivizu
