// Saving from the window, checked on the bytes written: the tag record the
// tag page gives, the refusal of the loaded file under any of its names, the
// first folder of the save dialog, and the failures (engine declines, a
// write past the file size limit).
#include "EditorTestSupport.h"
#include "ScriptedDevice.h"
#include "tests/engine/FileSizeLimit.h"
#include "tests/engine/Mp3Bytes.h"

#include "editor/PreviewDevice.h"
#include "editor/SaveTag.h"
#include "platform/CodePage.h"
#include "request/CutRequest.h"
#include "engine/RoruvoMp3.h"
#include "platform/Ini.h"
#include "platform/ProgramFolder.h"
#include "widgets/CheckBox.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/MaskEdit.h"
#include "widgets/MenuItem.h"
#include "widgets/Panel.h"
#include "widgets/SaveDialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <unistd.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

// Sets an environment variable for the life of a test.
class EnvValue {
public:
    EnvValue(const char* name, const char* value) : FName(name) {
        if (const char* old = std::getenv(name))
            FOld = old;
        setenv(name, value, 1);
    }
    ~EnvValue() {
        if (FOld)
            setenv(FName, FOld->c_str(), 1);
        else
            unsetenv(FName);
    }
    EnvValue(const EnvValue&) = delete;
    EnvValue& operator=(const EnvValue&) = delete;

private:
    const char* FName;
    std::optional<std::string> FOld;
};

std::string Text(const Bytes& bytes, size_t from, size_t count) {
    return std::string(bytes.begin() + static_cast<long>(from),
                       bytes.begin() + static_cast<long>(from + count));
}

class Save : public ::testing::Test {
protected:
    Save() {
        SetPreviewDeviceMaker([this] { return std::make_unique<ScriptedDevice>(Script); });
        Form = std::make_unique<TFrmMP3Editor>();
        SetPreviewDeviceMaker({});
        Source = Temp.Write("Song.mp3", ReadAll(Fixture("cbr128-tags.mp3").toStdString()));
        OpenThroughDialog(*Form, Seams, QString::fromStdString(Source));
    }

    QString MessageText(const char* key) const {
        const auto ini = TIniFile::Load(ProgramFolder() + "Languages/English.isl");
        return QString::fromStdString(ini.ReadString("Messages", key, ""));
    }

    // The source's play length as the engine alone measures it.
    int32_t SourceLength() const {
        return static_cast<int32_t>(TRoruvoMP3(Source).Info.LengthMs);
    }

    // Saves with a click on the Save As button to path.
    void SaveTo(const std::string& path) {
        SaveThroughDialog(*Form, Seams, QString::fromStdString(path));
    }

    // The selection as the engine alone cuts it, without a tag.
    Bytes AudioOf(int32_t start, int32_t end) {
        TRoruvoMP3 engine(Source);
        TID3v1Tag none{};
        const std::string path = Temp / "reference.part";
        EXPECT_TRUE(engine.SaveSegment(start, end, path, none));
        Bytes audio = ReadAll(path);
        std::remove(path.c_str());
        return audio;
    }

    void SetTagPage(const QString& title, const QString& artist, const QString& album,
                    const QString& year, const QString& track, const QString& comment, int genre) {
        TEditorControls f(*Form);
        f.RzCheckBox1->SetChecked(true);
        f.RzEdit1->SetText(title);
        f.RzEdit2->SetText(artist);
        f.RzEdit3->SetText(album);
        f.RzEdit6->SetText(year);
        f.RzEdit5->SetText(track);
        f.RzEdit7->SetText(comment);
        f.RzComboBox1->SetItemIndex(genre);
    }

    std::shared_ptr<DeviceScript> Script = std::make_shared<DeviceScript>();
    TDialogSeams Seams;
    std::unique_ptr<TFrmMP3Editor> Form;
    TempDir Temp;
    std::string Source;
};

TEST_F(Save, RightAfterOpeningTheWholeStreamIsWrittenWithTheTagPagesTag) {
    ASSERT_TRUE(TEditorControls(*Form).RzCheckBox1->Checked()); // the source has an ID3v1 tag
    const std::string out = Temp / "whole.mp3";
    SaveTo(out);
    EXPECT_TRUE(Seams.Boxes.empty());
    EXPECT_TRUE(Seams.Reports.empty());
    // The wait panel said so while it stood, and is gone.
    EXPECT_EQ(TEditorControls(*Form).Label25->Caption(), MessageText("Ms_Waiting"));
    EXPECT_FALSE(TEditorControls(*Form).PanelState->Visible());

    const Bytes audio = AudioOf(0, SourceLength());
    const Bytes written = ReadAll(out);
    ASSERT_EQ(written.size(), audio.size() + 128);
    EXPECT_EQ(Slice(written, 0, audio.size()), audio);
    // The tag page shows the source's tag, so the new tag is the source's.
    const Bytes source = ReadAll(Source);
    EXPECT_EQ(Slice(written, audio.size(), 128), Slice(source, source.size() - 128, 128));
    // The window is as it was; the new file is not opened: the status line
    // names it only to say the selection went there.
    EXPECT_EQ(TEditorControls(*Form).Label12->Caption(), MessageText("Ms_Saved").arg("whole.mp3"));
}

TEST_F(Save, EveryTagFieldGoesToItsPlaceCutToItsSize) {
    TEditorControls f(*Form);
    f.RzMaskEdit1->SetText(QStringLiteral("000:00:00.300"));
    f.RzMaskEdit2->SetText(QStringLiteral("000:00:01.000"));
    SetTagPage(QStringLiteral("Intro"), QString(30, u'A'), QString(40, u'b'), QStringLiteral("99"),
               QStringLiteral("12"), QString(30, u'c'), 17);
    const std::string out = Temp / "part.mp3";
    SaveTo(out);

    const Bytes audio = AudioOf(300, 1000);
    const Bytes written = ReadAll(out);
    ASSERT_EQ(written.size(), audio.size() + 128);
    EXPECT_EQ(Slice(written, 0, audio.size()), audio);
    const Bytes tag = Slice(written, audio.size(), 128);
    EXPECT_EQ(Text(tag, 0, 3), "TAG");
    EXPECT_EQ(Text(tag, 3, 30), "Intro" + std::string(25, '\0'));
    EXPECT_EQ(Text(tag, 33, 30), std::string(30, 'A'));
    EXPECT_EQ(Text(tag, 63, 30), std::string(30, 'b'));
    EXPECT_EQ(Text(tag, 93, 4), std::string("99\0\0", 4));
    // With a track number the comment keeps 28 bytes, then 0 and the track.
    EXPECT_EQ(Text(tag, 97, 28), std::string(28, 'c'));
    EXPECT_EQ(tag[125], 0);
    EXPECT_EQ(tag[126], 12);
    EXPECT_EQ(tag[127], 17);
}

TEST_F(Save, TrackFieldOutsideOneTo255GivesNoTrackAndTheWholeComment) {
    struct Case {
        const char* Field;
        uint8_t Track;
    };
    const Case cases[] = {{"0", 0},   {"256", 0}, {"-5", 0},    {"ab", 0}, {"", 0},  {"7a", 0},
                          {"  7", 7}, {"+3", 3},  {"255", 255}, {"1", 1},  {"-0", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Field);
        EXPECT_EQ(TrackFieldNumber(QString::fromLatin1(c.Field)), c.Track);
    }
    SetTagPage(QString(), QString(), QString(), QString(), QStringLiteral("256"), QString(30, u'c'),
               0);
    const std::string out = Temp / "notrack.mp3";
    SaveTo(out);
    const Bytes written = ReadAll(out);
    const Bytes tag = Slice(written, written.size() - 128, 128);
    EXPECT_EQ(Text(tag, 97, 30), std::string(30, 'c'));
    EXPECT_EQ(tag[127], 0);
}

TEST_F(Save, IncludeTickedWithEmptyFieldsStillWritesATagAndUntickedWritesNone) {
    SetTagPage(QString(), QString(), QString(), QString(), QString(), QString(), -1);
    const std::string empty = Temp / "empty-tag.mp3";
    SaveTo(empty);
    Bytes written = ReadAll(empty);
    const Bytes audio = AudioOf(0, SourceLength());
    ASSERT_EQ(written.size(), audio.size() + 128);
    Bytes expected = TextBytes("TAG") + Bytes(124, 0) + Bytes{255};
    EXPECT_EQ(Slice(written, audio.size(), 128), expected);

    TEditorControls(*Form).RzCheckBox1->SetChecked(false);
    const std::string bare = Temp / "no-tag.mp3";
    SaveTo(bare);
    EXPECT_EQ(ReadAll(bare), audio);
}

TEST_F(Save, TagTextsReachTheirBytesThroughTheSystemCodePage) {
    {
        // Japanese: code page 932. "日" is two bytes there.
        EnvValue locale("LC_ALL", "ja_JP.UTF-8");
        const QString title = QString(29, u'a') + QString::fromUtf8("日本");
        EXPECT_EQ(CutToBytes(title, 30), std::string(29, 'a'));
        EXPECT_EQ(CutToBytes(title, 31), std::string(29, 'a') + "\x93\xfa");
        EXPECT_EQ(CutToBytes(QString::fromUtf8("日本語"), 5), "\x93\xfa\x96\x7b");
        // A character the code page has no place for becomes "?".
        EXPECT_EQ(CutToBytes(QString::fromUtf8("\xc3\xa9t\xc3\xa9"), 30), "?t?");

        // With a track number the comment's 28th byte is its last: a character
        // that would begin there is left out whole.
        SetTagPage(title, QString(), QString(), QString(), QStringLiteral("5"),
                   QString(27, u'c') + QString::fromUtf8("日"), -1);
        const std::string out = Temp / "japanese.mp3";
        SaveTo(out);
        const Bytes written = ReadAll(out);
        const Bytes tag = Slice(written, written.size() - 128, 128);
        EXPECT_EQ(Text(tag, 3, 30), std::string(29, 'a') + '\0');
        EXPECT_EQ(Text(tag, 97, 30), std::string(27, 'c') + std::string("\0\0\x05", 3));
    }
    EnvValue locale("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(CutToBytes(QString::fromUtf8("Gr\xc3\xbc\xc3\x9f"
                                           "e \xe6\x97\xa5"),
                         30),
              "Gr\xfc\xdf"
              "e ?");
}

TEST_F(Save, TheLoadedFileIsRefusedUnderEveryNameAndNothingIsWritten) {
    const Bytes before = ReadAll(Source);
    ASSERT_EQ(symlink(Source.c_str(), (Temp / "link.mp3").c_str()), 0);
    ASSERT_EQ(link(Source.c_str(), (Temp / "hard.mp3").c_str()), 0);
    const std::string names[] = {Temp / "link.mp3", Temp / "hard.mp3",
                                 Temp.Path() + "/./Song.mp3", Temp.Path() + "//Song.mp3"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        Seams.Boxes.clear();
        SaveTo(name);
        ASSERT_EQ(Seams.Boxes.size(), 1u);
        EXPECT_EQ(Seams.Boxes[0].Text, MessageText("Ms_NotSaveName").replace("#13#10", "\r\n") +
                                           QString::fromStdString(name));
        EXPECT_EQ(Seams.Boxes[0].Caption, MessageText("Ms_Info"));
        EXPECT_EQ(Seams.Boxes[0].Icon, int(QMessageBox::Critical)); // an error, told as one
    }
    EXPECT_EQ(ReadAll(Source), before);
    EXPECT_EQ(Temp.Names(), (std::vector<std::string>{"Song.mp3", "hard.mp3", "link.mp3"}));
    EXPECT_TRUE(Seams.Reports.empty());
}

// A selection whose end is not after its start holds nothing: the save is
// declined before the dialog asks for a name, so that no file is written and
// no existing file is emptied.
TEST_F(Save, AnEmptySelectionIsDeclinedBeforeTheDialogAndNothingIsWritten) {
    const std::string existing = Temp.Write("Keep.mp3", Bytes{1, 2, 3});
    TEditorControls f(*Form);
    f.RzMaskEdit1->SetText("000:00:01.000");
    f.RzMaskEdit2->SetText("000:00:01.000");
    const int executes = Seams.Executes;
    SaveTo(existing);
    EXPECT_EQ(Seams.Executes, executes);
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_EQ(Seams.Boxes[0].Text, MessageText("Ms_NotSave") + "\r\n" + MessageText("Ms_EmptySelection"));
    EXPECT_EQ(Seams.Boxes[0].Caption, MessageText("Ms_Info"));
    EXPECT_EQ(ReadAll(existing), (Bytes{1, 2, 3}));
    EXPECT_EQ(Temp.Names(), (std::vector<std::string>{"Keep.mp3", "Song.mp3"}));
}

TEST_F(Save, TheDialogOpensFirstInTheFolderOfTheLoadedFileThenWhereItWasLeft) {
    std::vector<QString> proposed;
    std::filesystem::create_directories(Temp / "later");
    TFileDialogBase::SetExecuteHook([&](TFileDialogBase& dialog) {
        proposed.push_back(dialog.FileName());
        dialog.SetFileName(QString::fromStdString(Temp / "later/a.mp3"));
        return true;
    });
    TEditorControls(*Form).BtnSaveMp3->click();
    TEditorControls(*Form).BtnSaveMp3->click();
    TFileDialogBase::SetExecuteHook({});
    ASSERT_EQ(proposed.size(), 2u);
    EXPECT_EQ(QDir(QFileInfo(proposed[0]).absolutePath()), QDir(QString::fromStdString(Temp.Path())));
    EXPECT_EQ(QDir(QFileInfo(proposed[1]).absolutePath()), QDir(QString::fromStdString(Temp / "later")));
    EXPECT_EQ(TEditorControls(*Form).SaveDialog1->FileName(), QString::fromStdString(Temp / "later/a.mp3"));
}

TEST_F(Save, ADestinationTheEngineCannotCreateShowsTheFailureBox) {
    const std::string out = Temp / "missing-folder/out.mp3";
    SaveTo(out);
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    // The language's words, then the file and the engine's reason.
    EXPECT_EQ(Seams.Boxes[0].Text, MessageText("Ms_NotSave") + "\r\n" + QString::fromStdString(out) +
                                       ": the output file cannot be created (" +
                                       QString::fromLocal8Bit(std::strerror(ENOENT)) + ")");
    EXPECT_EQ(Seams.Boxes[0].Caption, MessageText("Ms_Error"));
    EXPECT_EQ(Seams.Boxes[0].Icon, int(QMessageBox::Critical));
    EXPECT_FALSE(TEditorControls(*Form).PanelState->Visible());
}

// A real write failure: the process may write no file larger than a few
// kilobytes (as on a full disk, the write fails with an error), and the
// program, like this test, ignores the signal such a write raises.
TEST_F(Save, AWriteFailureHidesThePanelReportsTheSystemsTextAndLeavesNoPartialFile) {
    const std::string existing = Temp.Write("kept.mp3", TextBytes("the earlier file"));
    const std::string fresh = Temp / "fresh.mp3";

    TFileSizeLimit limit(8192);
    ASSERT_TRUE(limit.Held());
    SaveTo(existing);
    SaveTo(fresh);
    limit.Restore();

    ASSERT_EQ(Seams.Reports.size(), 2u);
    const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    EXPECT_EQ(Seams.Reports[0].Text, QString::fromStdString(existing) + "\n" + reason + ".");
    EXPECT_EQ(Seams.Reports[1].Text, QString::fromStdString(fresh) + "\n" + reason + ".");
    EXPECT_EQ(Seams.Reports[0].Caption, "Vivizu");
    EXPECT_TRUE(Seams.Boxes.empty());
    EXPECT_FALSE(TEditorControls(*Form).PanelState->Visible());
    EXPECT_EQ(ReadAll(existing), TextBytes("the earlier file"));
    EXPECT_EQ(Temp.Names(), (std::vector<std::string>{"Song.mp3", "kept.mp3"}));
}

} // namespace

// The options menu's ticks reach the save: the file is what the engine cuts
// with the same options, and it starts with the kept ID3v2 tag followed by
// a length header frame.
TEST_F(Save, TickedOptionsShapeTheSavedFileAsTheEngineCutsIt) {
    TEditorControls(*Form).PM_KeepID3v2->DoClick();
    TEditorControls(*Form).PM_LengthHeader->DoClick();
    const std::string out = Temp / "options.mp3";
    SaveTo(out);
    EXPECT_TRUE(Seams.Boxes.empty());
    EXPECT_TRUE(Seams.Reports.empty());

    TRoruvoMP3 engine(Source);
    TCutOptions options;
    options.KeepID3v2 = true;
    options.LengthHeader = true;
    const std::string reference = Temp / "reference.mp3";
    ASSERT_TRUE(engine
                    .CutSegment(0, static_cast<int32_t>(engine.Info.LengthMs), reference,
                                BuildCutTag(engine.Info, TTagMode::FromSource, {}, AnsiCodePage()),
                                options)
                    .Ok());
    const Bytes written = ReadAll(out);
    EXPECT_EQ(written, ReadAll(reference));
    ASSERT_GT(written.size(), 10u);
    EXPECT_EQ(Text(written, 0, 3), "ID3");
    const Bytes plain = AudioOf(0, static_cast<int32_t>(engine.Info.LengthMs));
    EXPECT_GT(written.size(), plain.size() + 128);
}
