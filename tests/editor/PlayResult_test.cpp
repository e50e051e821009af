// "Play the result": the bytes a save would write now are written to a
// temporary file and played from its start to its end on the preview
// device; the bar follows over the selection, and the file goes when the
// preview ends however it ends.
#include "EditorTestSupport.h"
#include "ScriptedDevice.h"

#include "editor/PreviewDevice.h"
#include "editor/ResultFile.h"
#include "editor/UnitPlayMsg.h"
#include "engine/RoruvoMp3.h"
#include "engine/io/SignalCleanup.h"
#include "widgets/GlyphButton.h"
#include "widgets/MaskEdit.h"
#include "widgets/RadioButton.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PlayResult : public ::testing::Test {
protected:
    PlayResult() {
        // Result files in a folder of the test's own, which must end empty.
        FormerRuntime = qgetenv("XDG_RUNTIME_DIR");
        HadRuntime = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
        QDir(Temp.path()).mkdir(QStringLiteral("run"));
        qputenv("XDG_RUNTIME_DIR", Runtime().toLocal8Bit());
        SetPlayMsgHook([this](TFrmPlayMsg& dialog) {
            dialog.RadioButton4->SetChecked(true);
            return mrOk;
        });
    }
    ~PlayResult() override {
        Form.reset();
        SetPlayMsgHook({});
        if (HadRuntime)
            qputenv("XDG_RUNTIME_DIR", FormerRuntime);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }

    QString Runtime() const { return Temp.filePath(QStringLiteral("run")); }
    // The folders left in the result folder.
    qsizetype Left() const { return QDir(Runtime()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(); }

    // The window made with settings (OPTIONS keys and values), the fixture
    // opened and the selection set.
    void Make(const std::vector<std::pair<std::string, std::string>>& options, int64_t start,
              int64_t end, const char* fixture = "cbr128-tags.mp3") {
        TIniFile settings;
        for (const auto& [key, value] : options)
            settings.WriteString("OPTIONS", key, value);
        settings.Save(Temp.path().toStdString() + "/Vivizu.ini");
        SetPreviewDeviceMaker([this] { return std::make_unique<ScriptedDevice>(Script); });
        Form = std::make_unique<TFrmMP3Editor>();
        SetPreviewDeviceMaker({});
        OpenThroughDialog(*Form, Seams, Fixture(fixture));
        TEditorControls f(*Form);
        ASSERT_TRUE(f.BtnSaveMp3->isEnabled());
        f.RzMaskEdit2->SetText(TimeText(end));
        f.RzMaskEdit1->SetText(TimeText(start));
    }

    static QString TimeText(int64_t ms) {
        return QStringLiteral("000:%1:%2.%3")
            .arg(ms / 60000, 2, 10, QLatin1Char('0'))
            .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
            .arg(ms % 1000, 3, 10, QLatin1Char('0'));
    }

    void Play() { TEditorControls(*Form).BtnPlayStart->click(); }
    void Tick() { emit TEditorControls(*Form).TimerPos->Timer(); }
    QString Played() const { return QString::fromStdString(Script->OpenedName); }
    // What Save As writes now.
    QByteArray Saved() {
        const QString path = Temp.filePath(QStringLiteral("saved.mp3"));
        SaveThroughDialog(*Form, Seams, path);
        return FileBytes(path);
    }

    QTemporaryDir Temp;
    // A program folder of its own, whose settings give the save's options.
    test::TOwnProgramFolder Folder{Temp.path()};
    QByteArray FormerRuntime;
    bool HadRuntime = false;
    std::shared_ptr<DeviceScript> Script = std::make_shared<DeviceScript>();
    TDialogSeams Seams;
    std::unique_ptr<TFrmMP3Editor> Form;
};

TEST_F(PlayResult, PlaysWhatTheSaveWritesWithGainFadesAndExactCutThenRemovesIt) {
    Make({{"GainDb", "-6.0"}, {"FadeInMs", "300"}, {"ExactCut", "1"}}, 300, 1300);
    TEditorControls f(*Form);
    Play();
    ASSERT_EQ(Script->Opens, 1);
    ASSERT_TRUE(f.BtnStop->isEnabled());
    EXPECT_FALSE(f.BtnSaveMp3->isEnabled());
    EXPECT_FALSE(f.TrackBarPos->isEnabled());
    EXPECT_TRUE(f.TimerPos->Enabled());
    // The whole result, from its start to its end.
    EXPECT_EQ(Script->SeekMs, 0u);
    const QByteArray played = QByteArray::fromStdString(Script->OpenedBytes);
    EXPECT_EQ(Script->PlayToMs, static_cast<uint32_t>(TRoruvoMP3(Script->OpenedName).Info.LengthMs));
    EXPECT_GE(Script->PlayToMs, 990u);
    EXPECT_LE(Script->PlayToMs, 1100u);
    // The bar shows the result over the selection it was cut from.
    EXPECT_EQ(f.TrackBarPos->Position(), 300);
    Script->Position = 700;
    Tick();
    EXPECT_EQ(f.TrackBarPos->Position(), 1000);
    EXPECT_TRUE(QFileInfo::exists(Played()));

    f.BtnStop->click();
    EXPECT_FALSE(f.BtnStop->isEnabled());
    EXPECT_TRUE(f.BtnSaveMp3->isEnabled());
    EXPECT_TRUE(Played().startsWith(Runtime()));
    EXPECT_FALSE(QFileInfo::exists(Played()));
    EXPECT_EQ(Left(), 0); // its folder too

    // The very bytes Save As writes; and they are not the plain cut's.
    EXPECT_EQ(played, Saved());
    const QString plain = Temp.filePath(QStringLiteral("plain.mp3"));
    const std::string command = std::string("'") + VIVIZU_CLI + "' cut --exact '" +
                                Fixture("cbr128-tags.mp3").toStdString() + "' '" + plain.toStdString() +
                                "' 300 1300 >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const QByteArray unchanged = FileBytes(plain);
    EXPECT_EQ(unchanged.size(), played.size());
    EXPECT_NE(unchanged, played);
    EXPECT_TRUE(Seams.Boxes.empty());
    EXPECT_TRUE(Seams.Reports.empty());
}

TEST_F(PlayResult, RunningOutShowsTheSelectionsEndAndANewFileAlsoRemovesTheResult) {
    Make({{"GainDb", "3.0"}, {"LengthHeader", "1"}}, 500, 1200);
    TEditorControls f(*Form);
    Play();
    ASSERT_TRUE(f.BtnStop->isEnabled());
    // The device's position never takes the bar past the selection's end.
    Script->Position = 5000;
    Tick();
    EXPECT_EQ(f.TrackBarPos->Position(), 1200);
    Script->Mode = TMediaMode::Stopped;
    f.TrackBarPos->SetPosition(0);
    Tick();
    EXPECT_TRUE(f.BtnPlayStart->isEnabled());
    EXPECT_EQ(f.TrackBarPos->Position(), 1200);
    EXPECT_FALSE(QFileInfo::exists(Played()));
    EXPECT_FALSE(Script->Opened); // let go of before removal

    // Another file opened while the result plays.
    Play();
    const QString second = Played();
    ASSERT_TRUE(QFileInfo::exists(second));
    OpenThroughDialog(*Form, Seams, Fixture("vbr48k.mp3"));
    EXPECT_FALSE(QFileInfo::exists(second));

    // And the window closed while it plays.
    Play();
    const QString third = Played();
    ASSERT_TRUE(QFileInfo::exists(third));
    Form->close();
    EXPECT_FALSE(QFileInfo::exists(third));
    EXPECT_EQ(Left(), 0);
}

TEST_F(PlayResult, NothingToPlayOrNoPlayLeavesNoFileAndControlsIdle) {
    Make({{"GainDb", "1.5"}}, 1000, 1000);
    TEditorControls f(*Form);
    Play(); // an empty selection: nothing written, nothing opened, and said so
    EXPECT_EQ(Script->Opens, 0);
    EXPECT_TRUE(f.BtnPlayStart->isEnabled());
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_EQ(Seams.Boxes[0].Text, EnglishMessage("Ms_NotPlay") + "\r\n" + EnglishMessage("Ms_EmptySelection"));
    EXPECT_EQ(Left(), 0);
    Seams.Boxes.clear();

    f.RzMaskEdit1->SetText(TimeText(0));
    Script->PlayStarts = false; // the device opens, but does not play
    Play();
    ASSERT_EQ(Script->Opens, 1);
    EXPECT_EQ(Left(), 0);
    EXPECT_TRUE(f.BtnPlayStart->isEnabled());
    EXPECT_FALSE(f.BtnStop->isEnabled());
    EXPECT_FALSE(f.TimerPos->Enabled());

    // No sound output: the device's text, and no file left.
    Script->PlayStarts = true;
    Script->OpenError = "No available audio device";
    Play();
    ASSERT_EQ(Seams.Reports.size(), 1u);
    EXPECT_EQ(Seams.Reports[0].Text, "No available audio device.");
    EXPECT_EQ(Left(), 0);
    EXPECT_TRUE(f.BtnPlayStart->isEnabled());
    EXPECT_TRUE(Seams.Boxes.empty());
}

// Normalisation asked for on a Layer II file: refused with the reason,
// for playing the result and for saving it alike, and nothing written.
TEST_F(PlayResult, NormalisationOfLayerTwoIsRefusedNotLeftOut) {
    Make({{"Normalize", "1"}}, 0, 1000, "layer2-48k.mp3");
    Play();
    EXPECT_EQ(Script->Opens, 0);
    EXPECT_EQ(Left(), 0);
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_TRUE(Seams.Boxes[0].Text.startsWith(EnglishMessage("Ms_NotPlay"))) << Seams.Boxes[0].Text.toStdString();
    EXPECT_TRUE(Seams.Boxes[0].Text.contains(QStringLiteral("Layer III")));
    EXPECT_TRUE(Saved().isEmpty());
    ASSERT_EQ(Seams.Boxes.size(), 2u);
    EXPECT_TRUE(Seams.Boxes[1].Text.startsWith(EnglishMessage("Ms_NotSave")));
    EXPECT_TRUE(Seams.Boxes[1].Text.contains(QStringLiteral("Layer III")));
    EXPECT_FALSE(QFileInfo::exists(Temp.filePath(QStringLiteral("saved.mp3"))));
}

// A signal that ends the program while a result exists removes it with its
// folder; what a killed program left behind goes at the next start, and only
// the folders of processes that have ended.
TEST_F(PlayResult, ASignalOrTheNextStartRemovesTheResult) {
    const auto playAndEnd = [] {
        InstallSignalCleanup();
        TResultFile file;
        std::FILE* out = std::fopen(file.Path().c_str(), "wb");
        std::fputs("audio", out);
        std::fclose(out);
        std::raise(SIGTERM);
    };
    EXPECT_EXIT(playAndEnd(), ::testing::KilledBySignal(SIGTERM), "");
    EXPECT_EQ(Left(), 0);

    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    ASSERT_GT(ended, 0);
    waitpid(ended, nullptr, 0);
    QDir run(Runtime());
    const QString stale = QStringLiteral("vivizu-result-%1-aBcDeF").arg(ended);
    ASSERT_TRUE(run.mkpath(stale));
    QFile left(run.filePath(stale + QStringLiteral("/result.mp3")));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.close();
    for (const QString& kept : {QStringLiteral("vivizu-result-%1-aBcDeF").arg(getpid()),
                                QStringLiteral("vivizu-result-%1-aBcDeF").arg(getppid()),
                                QStringLiteral("vivizu-result-x-aBcDeF")})
        ASSERT_TRUE(run.mkpath(kept));
    EXPECT_EQ(RemoveStaleResults(), 1);
    EXPECT_FALSE(run.exists(stale));
    EXPECT_EQ(Left(), 3);
}

} // namespace
