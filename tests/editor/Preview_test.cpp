// Preview from the window: the play-from choice, the state of the preview
// controls before, during and after a preview, and the position timer. The
// timer's ticks are driven by calling its handler, not by waiting.
#include "EditorTestSupport.h"
#include "ScriptedDevice.h"

#include "editor/PreviewDevice.h"
#include "editor/TimeText.h"
#include "editor/UnitPlayMsg.h"
#include "engine/RoruvoMp3.h"
#include "widgets/GlyphButton.h"
#include "widgets/Label.h"
#include "widgets/MaskEdit.h"
#include "widgets/PictureButton.h"
#include "widgets/RadioButton.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#ifdef VIVIZU_TEST_MEDIA
#include "platform/media/Mp3MediaDevice.h"
#include "platform/media/ThreadOutput.h"
#endif

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

// The play-from dialog answers with a choice (or is cancelled with -1).
class PlayMsgAnswer {
public:
    PlayMsgAnswer() {
        SetPlayMsgHook([this](TFrmPlayMsg& dialog) {
            ++Shown;
            if (Choice < 0)
                return mrCancel;
            TRadioButton* radios[] = {dialog.RadioButton1, dialog.RadioButton2,
                                      dialog.RadioButton3};
            radios[Choice]->SetChecked(true);
            return mrOk;
        });
    }
    ~PlayMsgAnswer() { SetPlayMsgHook({}); }
    int Choice = 0;
    int Shown = 0;
};

class Preview : public ::testing::Test {
protected:
    Preview() {
        SetPreviewDeviceMaker([this] { return std::make_unique<ScriptedDevice>(Script); });
        Form = std::make_unique<TFrmMP3Editor>();
        SetPreviewDeviceMaker({});
    }

    void Open(const char* fixture = "cbr128-tags.mp3") {
        OpenThroughDialog(*Form, Seams, Fixture(fixture));
        ASSERT_TRUE(TEditorControls(*Form).BtnSaveMp3->isEnabled());
        Length = TRoruvoMP3(Fixture(fixture).toStdString()).Info.LengthMs;
        ASSERT_GT(Length, 1000);
    }

    // One tick of the position timer, as the timer gives it.
    void Tick() { emit TEditorControls(*Form).TimerPos->Timer(); }
    // A preview from the start tag, chosen in the play-from dialog.
    void PlayFromStartTag() {
        Answer.Choice = 0;
        TEditorControls(*Form).BtnPlayStart->click();
    }

    enum class State { NoFile, Idle, Previewing };
    // One row of the preview state table.
    void ExpectState(State state) const {
        TEditorControls f(*Form);
        const bool idle = state == State::Idle, previewing = state == State::Previewing;
        EXPECT_EQ(f.BtnPlayStart->isEnabled(), idle);
        EXPECT_EQ(f.BtnStop->isEnabled(), previewing);
        EXPECT_EQ(f.TrackBarPos->isEnabled(), idle);
        EXPECT_EQ(f.BtnSaveMp3->isEnabled(), idle);
        EXPECT_EQ(f.TimerPos->Enabled(), previewing);
    }

    std::shared_ptr<DeviceScript> Script = std::make_shared<DeviceScript>();
    TDialogSeams Seams;
    PlayMsgAnswer Answer;
    std::unique_ptr<TFrmMP3Editor> Form;
    int64_t Length = 0;
};

TEST_F(Preview, PlayFromTheStartTagPlaysToTheEndAndTheBarFollowsUntilStop) {
    Open();
    TEditorControls f(*Form);
    ExpectState(State::Idle);
    f.RzMaskEdit1->SetText(QStringLiteral("000:00:00.500"));
    ASSERT_EQ(f.RzMaskEdit1->Text(), "000:00:00.500");

    Answer.Choice = 0;
    f.BtnPlayStart->click();
    EXPECT_EQ(Answer.Shown, 1);
    ExpectState(State::Previewing);
    // From the start tag to the end of the stream, past the end tag.
    EXPECT_EQ(Script->SeekMs, 500u);
    EXPECT_EQ(Script->PlayToMs, static_cast<uint32_t>(f.TrackBarPos->Max()));
    // The bar jumps to the start at once, and its label with it.
    EXPECT_EQ(f.TrackBarPos->Position(), 500);
    EXPECT_EQ(f.Label1->Caption(), "000:00:00.500");

    Script->Position = 812;
    Tick();
    EXPECT_EQ(f.TrackBarPos->Position(), 812);
    EXPECT_EQ(f.Label1->Caption(), "000:00:00.812");
    ExpectState(State::Previewing);

    f.BtnStop->click();
    ExpectState(State::Idle);
    EXPECT_FALSE(Script->Opened);
    EXPECT_EQ(f.TrackBarPos->Position(), 812);
}

// The device's last position lies short of the end (it is polled once a
// second); once the preview has run out the bar shows the end it reached.
TEST_F(Preview, TheEndOfTheStreamReturnsToIdleOnTheNextTickAndTheBarShowsTheEnd) {
    Open();
    TEditorControls f(*Form);
    PlayFromStartTag();
    Script->Position = 900;
    Tick();
    Script->Mode = TMediaMode::Stopped; // the device has played to the end
    Tick();
    ExpectState(State::Idle);
    EXPECT_EQ(f.TrackBarPos->Position(), Length);
    EXPECT_EQ(f.Label1->Caption(), MsToTimeText(Length));
    // A tick that comes late moves nothing.
    f.TrackBarPos->SetPosition(300);
    Tick();
    EXPECT_EQ(f.TrackBarPos->Position(), 300);
}

TEST_F(Preview, StartsThatCannotPlayChangeNothing) {
    Open();
    TEditorControls f(*Form);
    // Right after opening the end tag is the end of the stream.
    ASSERT_EQ(f.RzMaskEdit2->Text(), MsToTimeText(Length));
    Answer.Choice = 1;
    f.BtnPlayStart->click();
    EXPECT_EQ(Script->Opens, 0);
    ExpectState(State::Idle);

    // The bar at its maximum: nothing to play from the current position.
    f.TrackBarPos->SetPosition(f.TrackBarPos->Max());
    Answer.Choice = 2;
    f.BtnPlayStart->click();
    EXPECT_EQ(Script->Opens, 0);
    ExpectState(State::Idle);

    // Cancelled dialog.
    Answer.Choice = -1;
    f.BtnPlayStart->click();
    EXPECT_EQ(Script->Opens, 0);

    // The device opens but does not play.
    f.TrackBarPos->SetPosition(100);
    Script->PlayStarts = false;
    Answer.Choice = 2;
    f.BtnPlayStart->click();
    EXPECT_EQ(Script->Opens, 1);
    ExpectState(State::Idle);
    EXPECT_EQ(f.TrackBarPos->Position(), 100);
    EXPECT_TRUE(Seams.Reports.empty());
    EXPECT_TRUE(Seams.Boxes.empty());
}

TEST_F(Preview, PlayFromCurrentKeepsTheBarWhereItIs) {
    Open();
    TEditorControls f(*Form);
    f.TrackBarPos->SetPosition(700);
    Answer.Choice = 2;
    f.BtnPlayStart->click();
    ExpectState(State::Previewing);
    EXPECT_EQ(Script->SeekMs, 700u);
    EXPECT_EQ(f.TrackBarPos->Position(), 700);
}

TEST_F(Preview, NoSoundOutputShowsTheDevicesTextAndLeavesEveryControlAsItWas) {
    Open();
    TEditorControls f(*Form);
    Script->OpenError = "No available audio device";
    Answer.Choice = 0;
    f.BtnPlayStart->click(); // the click's handler runs under the error report
    ASSERT_EQ(Seams.Reports.size(), 1u);
    EXPECT_EQ(Seams.Reports[0].Text, "No available audio device.");
    EXPECT_EQ(Seams.Reports[0].Caption, "Vivizu");
    ExpectState(State::Idle);
    EXPECT_EQ(f.TrackBarPos->Position(), 0);
}

TEST_F(Preview, OpeningAnotherFileEndsThePreviewAndALateTickEnablesNothing) {
    Open();
    TEditorControls f(*Form);
    PlayFromStartTag();
    ExpectState(State::Previewing);

    // A file that is no MP3 stream: the no-file state, the timer stopped.
    QTemporaryDir temp;
    const QString junk = temp.filePath(QStringLiteral("junk.mp3"));
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    OpenThroughDialog(f, Seams, junk);
    ASSERT_FALSE(f.BtnSaveMp3->isEnabled());
    EXPECT_FALSE(Script->Opened);
    ExpectState(State::NoFile);

    Tick();
    emit f.BtnStop->Click(); // what the button would send, were it enabled
    ExpectState(State::NoFile);

    // A valid file after a preview: idle, timer stopped.
    Open();
    PlayFromStartTag();
    Open("vbr48k.mp3");
    ExpectState(State::Idle);
}

#ifdef VIVIZU_TEST_MEDIA
// The real preview device on a silent output: a preview of the last few
// hundred milliseconds runs out, and the next tick finds it stopped.
TEST(PreviewDevice, APreviewThatRunsOutReturnsTheWindowToIdleShowingTheEnd) {
    TDialogSeams seams;
    PlayMsgAnswer answer;
    SetPreviewDeviceMaker(
        [] { return std::make_unique<TMp3MediaDevice>(std::make_unique<TSilentOutput>()); });
    TFrmMP3Editor form;
    SetPreviewDeviceMaker({});
    OpenThroughDialog(form, seams, Fixture("cbr128-tags.mp3"));
    const TEditorControls f(form);
    ASSERT_TRUE(f.BtnSaveMp3->isEnabled());

    const int end = f.TrackBarPos->Max();
    f.TrackBarPos->SetPosition(end - 300);
    answer.Choice = 2; // from the bar's place
    f.BtnPlayStart->click();
    ASSERT_TRUE(f.BtnStop->isEnabled());
    // The timer's ticks, faster than the timer gives them, until the
    // preview has run out.
    for (int waited = 0; f.BtnStop->isEnabled() && waited < 5000; waited += 20) {
        QTest::qWait(20);
        emit f.TimerPos->Timer();
    }
    EXPECT_TRUE(f.BtnPlayStart->isEnabled());
    EXPECT_TRUE(f.BtnSaveMp3->isEnabled());
    EXPECT_TRUE(f.TrackBarPos->isEnabled());
    EXPECT_FALSE(f.BtnStop->isEnabled());
    EXPECT_FALSE(f.TimerPos->Enabled());
    // The preview played to the end of the stream, and the bar says so
    // rather than the device's last position short of it.
    EXPECT_EQ(f.TrackBarPos->Position(), end);
    EXPECT_EQ(f.Label1->Caption(), MsToTimeText(end));
    EXPECT_TRUE(seams.Reports.empty());
}
#endif

} // namespace
