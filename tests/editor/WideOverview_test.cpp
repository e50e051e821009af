// The wide overview strip of the options menu: off at first with the
// window exactly as designed, on it grows the window downwards by the
// strip's height and shows the same levels, selection and position as the
// header's band; the choice is kept in the settings file.
#include "EditorTestSupport.h"

#include "editor/OverviewBand.h"
#include "platform/Ini.h"
#include "widgets/Image.h"
#include "widgets/MaskEdit.h"
#include "widgets/MenuItem.h"
#include "widgets/TrackBar.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class WideOverview : public ::testing::Test {
protected:
    std::string Settings() const { return Temp.path().toStdString() + "/Vivizu.ini"; }
    TMenuItem* Item() const { return Form->findChild<TMenuItem*>("PM_WideOverview"); }
    QWidget* Strip() const { return Form->findChild<QWidget*>("WideStrip"); }
    TOverviewBand* Band(const char* name) const { return Form->findChild<TOverviewBand*>(name); }

    TDialogSeams Seams;
    QTemporaryDir Temp;
    std::unique_ptr<TFrmMP3Editor> Form = std::make_unique<TFrmMP3Editor>();
    TOwnProgramFolder Folder{Temp.path()};
};

TEST_F(WideOverview, OffTheWindowIsAsDesignedOnItGrowsDownwardsByTheStrip) {
    TEditorControls f(*Form);
    ASSERT_NE(Item(), nullptr);
    EXPECT_EQ(Item()->Caption(), "Wide overview strip");
    EXPECT_EQ(Item()->parent(), f.PopupMenuOptions);
    EXPECT_FALSE(Item()->Checked());
    EXPECT_EQ(Form->size(), QSize(592, 452));
    EXPECT_EQ(f.FS->geometry(), QRect(0, 0, 592, 452));
    EXPECT_FALSE(Strip()->isVisibleTo(Form.get()));

    Item()->DoClick();
    EXPECT_TRUE(Item()->Checked());
    EXPECT_TRUE(Strip()->isVisibleTo(Form.get()));
    EXPECT_GT(Strip()->height(), TOverviewBand::Height);
    EXPECT_EQ(Form->size(), QSize(592, 452 + Strip()->height()));
    EXPECT_EQ(Strip()->geometry(), QRect(0, 452, 592, Strip()->height()));
    // The designed window is untouched above it.
    EXPECT_EQ(f.FS->geometry(), QRect(0, 0, 592, 452));
    EXPECT_TRUE(Band("WideOverview")->geometry().width() > 2 * Band("OverviewBand")->width());
    // Its outline takes the strip in.
    EXPECT_TRUE(Form->mask().contains(QPoint(296, 452 + Strip()->height() / 2)));

    Item()->DoClick();
    EXPECT_EQ(Form->size(), QSize(592, 452));
    EXPECT_FALSE(Strip()->isVisibleTo(Form.get()));
    EXPECT_FALSE(Form->mask().contains(QPoint(296, 452 + 10)));
}

TEST_F(WideOverview, ShowsTheSameStreamSelectionAndPositionAsTheHeadersBand) {
    TEditorControls f(*Form);
    Item()->DoClick();
    OpenThroughDialog(*Form, Seams, Fixture("tone-pause-tone.mp3"));
    TOverviewBand* header = Band("OverviewBand");
    TOverviewBand* wide = Band("WideOverview");
    ASSERT_FALSE(header->Levels().Empty());
    EXPECT_EQ(wide->Levels().Levels, header->Levels().Levels);
    EXPECT_TRUE(wide->isVisibleTo(Form.get()));
    EXPECT_EQ(wide->accessibleName(), "Wide overview");
    f.TrackBarPos->SetPosition(1500);
    EXPECT_EQ(wide->Position(), 1500);
    // A pick on the wide strip moves the position bar, as the header's does.
    emit wide->PositionPicked(2500);
    EXPECT_EQ(f.TrackBarPos->Position(), 2500);
    EXPECT_EQ(header->Position(), 2500);
    // Opening nothing valid clears both.
    OpenThroughDialog(*Form, Seams, Fixture("make-fixtures.sh"));
    EXPECT_TRUE(wide->Levels().Empty());
}

TEST_F(WideOverview, KeptInTheSettingsFileBetweenRuns) {
    Item()->DoClick();
    Form->close();
    EXPECT_EQ(TIniFile::Load(Settings()).ReadString("OPTIONS", "WideOverview", ""), "1");
    Form = std::make_unique<TFrmMP3Editor>();
    EXPECT_TRUE(Item()->Checked());
    EXPECT_EQ(Form->size(), QSize(592, 452 + Strip()->height()));
    Item()->DoClick();
    Form->close();
    EXPECT_EQ(TIniFile::Load(Settings()).ReadString("OPTIONS", "WideOverview", ""), "0");
    Form = std::make_unique<TFrmMP3Editor>();
    EXPECT_EQ(Form->size(), QSize(592, 452));
}

} // namespace
