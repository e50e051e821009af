// The main window from the keyboard alone: the menus' keys, the order Tab
// follows, the position bar's steps, and a whole session of open, markers,
// preview and save by keys.
#include "EditorTestSupport.h"
#include "ScriptedDevice.h"

#include "editor/PreviewDevice.h"
#include "editor/UnitPlayMsg.h"
#include "engine/RoruvoMp3.h"
#include "widgets/RadioButton.h"

#include <QApplication>
#include <QMenu>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class Keyboard : public ::testing::Test {
protected:
    Keyboard() {
        SetPreviewDeviceMaker([this] { return std::make_unique<ScriptedDevice>(Script); });
        Form = std::make_unique<TFrmMP3Editor>();
        SetPreviewDeviceMaker({});
        Form->show();
        QApplication::setActiveWindow(Form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
    ~Keyboard() override {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    // A key pressed where the keyboard's focus is now, as a user presses it.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        if (QWidget* popup = QApplication::activePopupWidget())
            target = popup;
        QTest::keyClick(target ? target : Form.get(), key, modifiers);
    }
    QWidget* Focused() const { return QApplication::focusWidget(); }

    std::shared_ptr<DeviceScript> Script = std::make_shared<DeviceScript>();
    TDialogSeams Seams;
    std::unique_ptr<TFrmMP3Editor> Form;
};

} // namespace

TEST_F(Keyboard, AltLetterOfEachLinkAndF10OpenTheirMenusWhichKeysWorkAndEscapeCloses) {
    TEditorControls f(*Form);
    EXPECT_EQ(f.Label29->Accelerator(), QKeySequence(Qt::ALT | Qt::Key_O));
    EXPECT_EQ(f.Label28->Accelerator(), QKeySequence(Qt::ALT | Qt::Key_L));

    Press(Qt::Key_O, Qt::AltModifier);
    QMenu* options = f.PopupMenuOptions->Shown();
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(options->isVisible());
    // Down reaches the first item, Enter ticks it and closes the menu.
    const bool kept = f.PM_KeepID3v2->Checked();
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    EXPECT_FALSE(options->isVisible());
    EXPECT_NE(f.PM_KeepID3v2->Checked(), kept);

    Press(Qt::Key_F10);
    ASSERT_NE(f.PopupMenuOptions->Shown(), nullptr);
    EXPECT_TRUE(f.PopupMenuOptions->Shown()->isVisible());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(f.PopupMenuOptions->Shown()->isVisible());

    Press(Qt::Key_L, Qt::AltModifier);
    ASSERT_NE(f.PopupMenuView->Shown(), nullptr);
    EXPECT_TRUE(f.PopupMenuView->Shown()->isVisible());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(f.PopupMenuView->Shown()->isVisible());
    EXPECT_TRUE(Seams.Reports.empty());
}

// The German caption ">> S&prache" moves the key to Alt+P... which the
// play button's "&Anhören" does not take; the key follows the caption.
TEST_F(Keyboard, TheLinksKeyFollowsTheLanguagesCaption) {
    TEditorControls f(*Form);
    Form->ApplyLanguage(2);
    EXPECT_EQ(f.Label28->Accelerator(), QKeySequence(Qt::ALT | Qt::Key_P));
    EXPECT_EQ(f.Label28->accessibleName(), QStringLiteral(">> Sprache"));
    Press(Qt::Key_P, Qt::AltModifier);
    ASSERT_NE(f.PopupMenuView->Shown(), nullptr);
    EXPECT_TRUE(f.PopupMenuView->Shown()->isVisible());
    Press(Qt::Key_Escape);
    Form->ApplyLanguage(0);
    EXPECT_EQ(f.Label28->Accelerator(), QKeySequence(Qt::ALT | Qt::Key_L));
}

TEST_F(Keyboard, TabGoesThroughTheControlsInTheWindowsOrder) {
    OpenThroughDialog(*Form, Seams, Fixture("tone-pause-tone.mp3"));
    TEditorControls f(*Form);
    ASSERT_TRUE(f.BtnSaveMp3->isEnabled());
    QWidget* overview = Form->findChild<QWidget*>(QStringLiteral("OverviewBand"));
    ASSERT_NE(overview, nullptr);
    ASSERT_TRUE(overview->isVisible());
    f.BtnOpenMp3->setFocus(Qt::TabFocusReason);
    QWidget* const expected[] = {f.BtnSaveMp3,   f.BtnAbout,   overview,
                                 f.RzMaskEdit1,  f.RzMaskEdit2, f.BtnPlayStart,
                                 f.TrackBarPos,  f.RzPageControl1->tabBar()};
    for (QWidget* next : expected) {
        Press(Qt::Key_Tab);
        EXPECT_EQ(Focused(), next) << next->objectName().toStdString() << " expected, focus on "
                                   << (Focused() ? Focused()->objectName().toStdString() : "nothing");
    }
    // The window without a file: Tab still reaches the buttons that work.
    Form->findChild<QWidget*>(QStringLiteral("BtnOpenMp3"))->clearFocus();
}

TEST_F(Keyboard, InAnEmptyWindowTabReachesOpenAndAbout) {
    TEditorControls f(*Form);
    f.BtnOpenMp3->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(Focused(), f.BtnOpenMp3);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), f.BtnAbout); // Save As is disabled without a file
}

TEST_F(Keyboard, PositionBarStepsAFrameWithTheArrowsAndASecondWithPageKeys) {
    OpenThroughDialog(*Form, Seams, Fixture("tone-pause-tone.mp3"));
    TEditorControls f(*Form);
    const double frameMs = TRoruvoMP3(Fixture("tone-pause-tone.mp3").toStdString()).Index().HeaderOf(0).DurationMs();
    f.TrackBarPos->setFocus(Qt::TabFocusReason);
    f.TrackBarPos->SetPosition(2000);
    Press(Qt::Key_Right);
    EXPECT_EQ(f.TrackBarPos->Position(), 2000 + static_cast<int>(std::lround(frameMs)));
    Press(Qt::Key_Left);
    Press(Qt::Key_Left);
    EXPECT_EQ(f.TrackBarPos->Position(), 2000 - static_cast<int>(std::lround(frameMs)));
    f.TrackBarPos->SetPosition(2000);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(f.TrackBarPos->Position(), 3000);
    Press(Qt::Key_PageUp);
    Press(Qt::Key_PageUp);
    EXPECT_EQ(f.TrackBarPos->Position(), 1000);
}

TEST_F(Keyboard, EnterOnAFocusedPictureButtonClicksIt) {
    TEditorControls f(*Form);
    Seams.Answer.clear(); // the open dialog is cancelled
    f.BtnOpenMp3->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Return);
    QTest::qWait(200); // the click's animation
    EXPECT_EQ(Seams.Executes, 1);
    Press(Qt::Key_Space);
    EXPECT_EQ(Seams.Executes, 2);
}

// Open (Ctrl+O), markers from the overview ([ and ] at positions the arrows
// reach), a preview (Alt+P, Enter in the play-from dialog), save (Ctrl+S):
// no mouse anywhere.
TEST_F(Keyboard, OpenSetMarkersPlayAndSaveByKeysAlone) {
    TEditorControls f(*Form);
    Seams.Answer = Fixture("tone-pause-tone.mp3");
    Press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(f.BtnSaveMp3->isEnabled());

    // Tab from Open to the overview; Page Down moves a second, ] and [
    // put the markers there.
    f.BtnOpenMp3->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 3; ++i)
        Press(Qt::Key_Tab);
    ASSERT_EQ(Focused(), Form->findChild<QWidget*>(QStringLiteral("OverviewBand")));
    Press(Qt::Key_PageDown);
    Press(Qt::Key_PageDown);
    Press(Qt::Key_BracketRight);
    Press(Qt::Key_Home);
    Press(Qt::Key_PageDown);
    Press(Qt::Key_BracketLeft);
    EXPECT_EQ(f.RzMaskEdit1->Text(), "000:00:01.000");
    EXPECT_EQ(f.RzMaskEdit2->Text(), "000:00:02.000");

    // The play-from dialog answers with its first choice, as Enter would.
    int shown = 0;
    SetPlayMsgHook([&](TFrmPlayMsg& dialog) {
        ++shown;
        dialog.RadioButton1->SetChecked(true);
        return mrOk;
    });
    // An accelerator clicks its button as a click looks: pressed, then
    // released a moment later.
    Press(Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown == 1; }, 2000));
    SetPlayMsgHook({});
    EXPECT_EQ(Script->SeekMs, 1000u);
    ASSERT_TRUE(f.BtnStop->isEnabled());
    Press(Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.BtnStop->isEnabled(); }, 2000));

    QTemporaryDir folder;
    Seams.Answer = folder.filePath(QStringLiteral("piece.mp3"));
    Press(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists(Seams.Answer));
    const TRoruvoMP3 piece(Seams.Answer.toStdString());
    ASSERT_TRUE(piece.Valid);
    EXPECT_NEAR(static_cast<double>(piece.Info.LengthMs), 1000.0, 60.0);
    EXPECT_TRUE(Seams.Reports.empty());
}
