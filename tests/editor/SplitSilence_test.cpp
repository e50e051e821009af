// "Split at silences…" of the options menu, driven through the window on a
// recording made at run time: the folder dialog, the pieces written with
// the options of a save, the wait panel and the summary box.
#include "EditorTestSupport.h"
#include "tests/engine/Mp3Bytes.h"

#include "engine/RoruvoMp3.h"
#include "widgets/Label.h"
#include "widgets/MenuItem.h"
#include "widgets/Panel.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

bool Have(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

int FilesIn(const std::string& folder) {
    return static_cast<int>(QDir(QString::fromStdString(folder)).entryList(QDir::Files).size());
}

class SplitSilence : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Have("sox") || !Have("lame"))
            GTEST_SKIP() << "needs sox and lame";
        // tone 2 s | silence 1.5 s | tone 2 s | silence 1.2 s | tone 1 s;
        // and a tone alone.
        const std::string make =
            "cd '" + Temp.Path() + "' && "
            "sox -q -R -n -r 44100 -c 2 t2.wav synth 2 sine 440 gain -12 && "
            "sox -q -R -n -r 44100 -c 2 t1.wav synth 1 sine 660 gain -12 && "
            "sox -q -R -n -r 44100 -c 2 s15.wav trim 0 1.5 && "
            "sox -q -R -n -r 44100 -c 2 s12.wav trim 0 1.2 && "
            "sox -q t2.wav s15.wav t2.wav s12.wav t1.wav album.wav && "
            "lame --quiet -b 128 album.wav Album.mp3 && "
            "lame --quiet -b 128 t2.wav Tone.mp3 && rm -f *.wav && mkdir out";
        ASSERT_EQ(std::system(make.c_str()), 0);
        Form = std::make_unique<TFrmMP3Editor>();
    }

    void Open(const char* name) { OpenThroughDialog(*Form, Seams, QString::fromStdString(Temp / name)); }
    void SplitInto(const std::string& folder) {
        Seams.Answer = QString::fromStdString(folder);
        TEditorControls(*Form).PM_SplitSilence->DoClick();
    }

    TDialogSeams Seams;
    TempDir Temp;
    std::unique_ptr<TFrmMP3Editor> Form;
};

TEST_F(SplitSilence, WritesAPieceForEverySoundWithTheSaveOptions) {
    Open("Album.mp3");
    TEditorControls f(*Form);
    ASSERT_FALSE(f.RzCheckBox1->Checked()); // no tag: none is written
    f.PM_LengthHeader->DoClick();
    const int executes = Seams.Executes;
    SplitInto(Temp / "out");
    EXPECT_EQ(Seams.Executes, executes + 1);
    ASSERT_TRUE(Seams.Reports.empty());
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_EQ(Seams.Boxes[0].Text,
              EnglishMessage("Ms_SplitDone").arg(3).arg(QString::fromStdString(Temp / "out")));
    // The wait panel named the last piece and is gone.
    EXPECT_EQ(f.Label25->Caption(), EnglishMessage("Ms_SplitWriting").arg(3).arg(3));
    EXPECT_FALSE(f.PanelState->Visible());

    const std::vector<std::string> names{"Album 1.mp3", "Album 2.mp3", "Album 3.mp3"};
    int64_t total = 0;
    for (const std::string& name : names) {
        TRoruvoMP3 piece(Temp / ("out/" + name));
        ASSERT_TRUE(piece.Valid) << name;
        EXPECT_EQ(piece.Info.ID3v1Size, 0) << name;
        const Bytes bytes = ReadAll(Temp / ("out/" + name));
        ASSERT_GT(bytes.size(), 40);
        const std::string header(bytes.begin() + 36, bytes.begin() + 40);
        EXPECT_TRUE(header == "Xing" || header == "Info") << name << ": a length header";
        total += piece.Info.LengthMs;
    }
    // Cut in the pauses' middles (moved 25 ms by the coder's delay): 2.75 s,
    // 3.35 s and what is left.
    EXPECT_NEAR(TRoruvoMP3(Temp / ("out/" + names[0])).Info.LengthMs, 2775, 60);
    EXPECT_NEAR(TRoruvoMP3(Temp / ("out/" + names[1])).Info.LengthMs, 3350, 60);
    EXPECT_NEAR(total, TRoruvoMP3(Temp / "Album.mp3").Info.LengthMs, 60);

    // A second split into the same folder refuses the existing names and
    // writes nothing.
    SplitInto(Temp / "out");
    ASSERT_EQ(Seams.Boxes.size(), 2u);
    EXPECT_TRUE(Seams.Boxes[1].Text.startsWith(EnglishMessage("Ms_NotSave"))) << Seams.Boxes[1].Text.toStdString();
    // It says what to do in the window, which has no --force.
    EXPECT_TRUE(Seams.Boxes[1].Text.contains("choose another folder")) << Seams.Boxes[1].Text.toStdString();
    EXPECT_FALSE(Seams.Boxes[1].Text.contains("--force")) << Seams.Boxes[1].Text.toStdString();
}

TEST_F(SplitSilence, NoSilenceSaysSoAndWritesNothing) {
    Open("Tone.mp3");
    SplitInto(Temp / "out");
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_EQ(Seams.Boxes[0].Text, EnglishMessage("Ms_NoSilence"));
    EXPECT_EQ(FilesIn(Temp / "out"), 0);
}

TEST_F(SplitSilence, CancelledDialogOrNoFileDoesNothing) {
    SplitInto(Temp / "out"); // no file opened: no dialog
    EXPECT_EQ(Seams.Executes, 0);
    Open("Album.mp3");
    SplitInto("");
    EXPECT_TRUE(Seams.Boxes.empty());
    EXPECT_EQ(FilesIn(Temp / "out"), 0);
}

} // namespace
