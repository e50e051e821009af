// The window's refusal of the loaded file as destination goes by the file,
// not by its name: another spelling of it is refused also where inode
// numbers do not tell (a case-folding FUSE mount reached through a linked
// folder), and a different file whose name differs only in letter case is
// saved to on a disk that tells them apart.
#include "EditorTestSupport.h"
#include "ScriptedDevice.h"
#include "tests/cli/CaseFoldMount.h"
#include "tests/editor/EditorControls.h"
#include "tests/engine/Mp3Bytes.h"

#include "editor/PreviewDevice.h"
#include "engine/RoruvoMp3.h"
#include "platform/Ini.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class SaveSameFile : public ::testing::Test {
protected:
    SaveSameFile() {
        SetPreviewDeviceMaker([this] { return std::make_unique<ScriptedDevice>(Script); });
        Form = std::make_unique<TFrmMP3Editor>();
        SetPreviewDeviceMaker({});
    }

    void SaveTo(const std::string& path) {
        Seams.Boxes.clear();
        Seams.Answer = QString::fromStdString(path);
        TEditorControls(*Form).BtnSaveMp3->click();
    }

    QString RefusalText(const std::string& path) const {
        const auto ini = TIniFile::Load(ProgramFolder() + "Languages/English.isl");
        return QString::fromStdString(ini.ReadString("Messages", "Ms_NotSaveName", "")).replace("#13#10", "\r\n") +
               QString::fromStdString(path);
    }

    std::shared_ptr<DeviceScript> Script = std::make_shared<DeviceScript>();
    TDialogSeams Seams;
    std::unique_ptr<TFrmMP3Editor> Form;
    TempDir Temp;
    const Bytes Song = Frames(H44, 200, 0);
};

TEST_F(SaveSameFile, ANameDifferingOnlyInCaseIsAnotherFileOnACaseSensitiveDisk) {
    const std::string source = Temp.Write("src.mp3", Song);
    const std::string other = Temp.Write("SRC.mp3", TextBytes("another file"));
    OpenThroughDialog(*Form, Seams, QString::fromStdString(source));
    SaveTo(other);
    EXPECT_TRUE(Seams.Boxes.empty());
    EXPECT_TRUE(Seams.Reports.empty());
    const Bytes saved = ReadAll(other);  // the whole stream, with or without a tag
    ASSERT_GE(saved.size(), Song.size());
    EXPECT_EQ(Slice(saved, 0, Song.size()), Song);
    SaveTo(Temp / "Src.MP3");  // no such file yet
    EXPECT_TRUE(Seams.Boxes.empty());
    EXPECT_TRUE(Exists(Temp / "Src.MP3"));
    EXPECT_EQ(ReadAll(source), Song);
}

TEST_F(SaveSameFile, AnotherSpellingThroughALinkedFolderOnACaseFoldingMountIsRefused) {
    const std::string root = Temp / "root", mount = Temp / "m", linked = Temp / "m-link";
    std::filesystem::create_directories(root);
    Temp.Write("root/Song.mp3", Song);
    TCaseFoldMount served(root, mount);
    if (!served.Ready())
        GTEST_SKIP() << "no FUSE here (/dev/fuse or python3-fusepy missing)";
    ASSERT_EQ(symlink(mount.c_str(), linked.c_str()), 0);
    OpenThroughDialog(*Form, Seams, QString::fromStdString(mount + "/Song.mp3"));
    ASSERT_TRUE(TEditorControls(*Form).BtnSaveMp3->isEnabled()); // a valid stream is open
    for (const std::string& name : {linked + "/SONG.MP3", mount + "/song.mp3"}) {
        SCOPED_TRACE(name);
        SaveTo(name);
        ASSERT_EQ(Seams.Boxes.size(), 1u);
        EXPECT_EQ(Seams.Boxes[0].Text, RefusalText(name));
    }
    EXPECT_EQ(ReadAll(root + "/Song.mp3"), Song);
    EXPECT_EQ(Temp.Names(), (std::vector<std::string>{"m", "m-link", "root"}));
}

} // namespace
