// Every refusal and failure of a save, driven through the window: the box
// or report names the file concerned and says why, in the language file's
// words where it has them and the engine's otherwise. And a source that
// changed since it was opened is opened again instead of being cut.
#include "EditorTestSupport.h"
#include "ScriptedDevice.h"
#include "tests/engine/Mp3Bytes.h"

#include "editor/PreviewDevice.h"
#include "widgets/Label.h"
#include "widgets/MenuItem.h"
#include "widgets/PictureButton.h"

#include <QFile>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

QString Q(const std::string& text) { return QFile::decodeName(QByteArray::fromStdString(text)); }

class SaveFailures : public ::testing::Test {
protected:
    SaveFailures() {
        SetPreviewDeviceMaker([this] { return std::make_unique<ScriptedDevice>(Script); });
        Form = std::make_unique<TFrmMP3Editor>();
        SetPreviewDeviceMaker({});
    }

    void Open(const std::string& path) { OpenThroughDialog(*Form, Seams, Q(path)); }
    void SaveTo(const std::string& path) { SaveThroughDialog(*Form, Seams, Q(path)); }

    // The one box a refused save shows: the language's words, then the
    // engine's line naming the file and the reason.
    void ExpectRefusal(const std::string& file, const char* reason) {
        ASSERT_EQ(Seams.Boxes.size(), 1u);
        EXPECT_TRUE(Seams.Reports.empty());
        const QString text = Seams.Boxes[0].Text;
        EXPECT_TRUE(text.startsWith(EnglishMessage("Ms_NotSave") + "\r\n" + Q(file) + ": "))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(reason))) << text.toStdString();
        EXPECT_EQ(Seams.Boxes[0].Caption, EnglishMessage("Ms_Error"));
        EXPECT_EQ(Seams.Boxes[0].Icon, int(QMessageBox::Critical));
        EXPECT_FALSE(TEditorControls(*Form).PanelState->Visible());
    }

    std::shared_ptr<DeviceScript> Script = std::make_shared<DeviceScript>();
    TDialogSeams Seams;
    std::unique_ptr<TFrmMP3Editor> Form;
    TempDir Temp;
    const std::string Source = Temp.Write("Song.mp3", ReadAll(Fixture("cbr128-tags.mp3").toStdString()));
};

TEST_F(SaveFailures, DestinationsThatCannotBeWrittenAreNamedWithTheReason) {
    Open(Source);
    // A FIFO: no regular file to replace.
    const std::string fifo = Temp / "pipe.mp3";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    SaveTo(fifo);
    ExpectRefusal(fifo, "not a regular file");

    // A missing folder.
    Seams.Boxes.clear();
    const std::string nowhere = Temp / "missing-folder/out.mp3";
    SaveTo(nowhere);
    ExpectRefusal(nowhere, std::strerror(ENOENT));
}

// Permissions do not hold back the super-user: these run as another user.
TEST_F(SaveFailures, ReadOnlyFileAndFolderAreNamedWithTheReason) {
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root, whom file permissions do not stop";
    Open(Source);
    const std::string locked = Temp.Write("locked.mp3", TextBytes("kept"));
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    SaveTo(locked);
    ExpectRefusal(locked, std::strerror(EACCES));
    EXPECT_EQ(ReadAll(locked), TextBytes("kept"));

    Seams.Boxes.clear();
    const std::string folder = Temp / "shut";
    ASSERT_EQ(mkdir(folder.c_str(), 0555), 0);
    SaveTo(folder + "/out.mp3");
    ExpectRefusal(folder + "/out.mp3", std::strerror(EACCES));
    chmod(folder.c_str(), 0755);
}

// What stops even the super-user: a file system mounted read-only and a
// file marked immutable. Each needs rights that the test may not have.
TEST_F(SaveFailures, ReadOnlyFileSystemAndImmutableFileAreNamedWithTheReason) {
    Open(Source);
    const std::string mountPoint = Temp / "ro";
    ASSERT_EQ(mkdir(mountPoint.c_str(), 0755), 0);
    if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no right to mount a file system here";
    const bool readOnly =
        mount(nullptr, mountPoint.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    if (readOnly) {
        SaveTo(mountPoint + "/out.mp3");
        ExpectRefusal(mountPoint + "/out.mp3", std::strerror(EROFS));
    }
    umount2(mountPoint.c_str(), MNT_DETACH);
    ASSERT_TRUE(readOnly);

    const std::string fixed = Temp.Write("fixed.mp3", TextBytes("kept"));
    const int fd = open(fixed.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    int flags = 0;
    const bool immutable = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 &&
                           (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    if (immutable) {
        Seams.Boxes.clear();
        SaveTo(fixed);
        ExpectRefusal(fixed, std::strerror(EPERM));
        EXPECT_EQ(ReadAll(fixed), TextBytes("kept"));
        flags &= ~FS_IMMUTABLE_FL;
        ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    close(fd);
    if (!immutable)
        GTEST_SKIP() << "this file system keeps no immutable flag";
}

TEST_F(SaveFailures, ASourceDeletedAfterOpeningIsNamed) {
    Open(Source);
    ASSERT_EQ(std::remove(Source.c_str()), 0);
    const std::string out = Temp / "out.mp3";
    SaveTo(out);
    ExpectRefusal(Source, "gone");
    EXPECT_FALSE(Exists(out));
}

TEST_F(SaveFailures, LayerTwoWithALengthHeaderShowsTheEnginesReason) {
    const std::string layer2 = Temp.Write("two.mp3", ReadAll(Fixture("layer2-48k.mp3").toStdString()));
    Open(layer2);
    TEditorControls(*Form).PM_LengthHeader->DoClick();
    const std::string out = Temp / "out.mp3";
    SaveTo(out);
    ExpectRefusal(layer2, "Layer III");
    EXPECT_FALSE(Exists(out));
}

// The source changed from outside after it was opened: no cut is written
// from the old analysis; the user is told, and the window shows the file
// as it is now, ready to be saved again.
TEST_F(SaveFailures, ASourceChangedSinceOpeningIsOpenedAgainInsteadOfCut) {
    const Bytes whole = ReadAll(Source);
    const std::string out = Temp / "out.mp3";
    const TEditorControls f(*Form);
    struct Change {
        const char* Name;
        Bytes Now;
        bool StillMp3;
    };
    const Change changes[] = {
        {"halved", Slice(whole, 0, whole.size() / 2), true},
        {"emptied", Bytes{}, false},
        {"replaced", Bytes(whole.size(), 'x'), false},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.Name);
        TempDir here;
        const std::string source = here.Write("Song.mp3", whole);
        Open(source);
        const QString lengthBefore = f.Label22->Caption();
        // A second apart at least, as a file system with coarse times sees it.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        here.Write("Song.mp3", change.Now);
        Seams.Boxes.clear();
        SaveTo(out);
        EXPECT_FALSE(Exists(out));
        ASSERT_GE(Seams.Boxes.size(), 1u);
        EXPECT_TRUE(Seams.Boxes[0].Text.startsWith(EnglishMessage("Ms_NotSave") + "\r\n" + Q(source)))
            << Seams.Boxes[0].Text.toStdString();
        EXPECT_TRUE(Seams.Boxes[0].Text.contains("changed")) << Seams.Boxes[0].Text.toStdString();
        // Opened again: what the window shows is the file as it is now.
        EXPECT_EQ(f.Label12->Caption(), Q(source));
        EXPECT_EQ(f.BtnSaveMp3->isEnabled(), change.StillMp3);
        if (!change.StillMp3)
            continue;
        EXPECT_NE(f.Label22->Caption(), lengthBefore);
        Seams.Boxes.clear();
        SaveTo(out);
        EXPECT_TRUE(Seams.Boxes.empty());
        EXPECT_TRUE(Exists(out));
        std::remove(out.c_str());
    }
}

// A source served by a file system that starts failing every read after the
// file was opened: the report names the source, not the destination.
class SaveReadError : public SaveFailures {
protected:
    void SetUp() override {
        if (access("/dev/fuse", R_OK | W_OK) != 0 ||
            std::system("/usr/bin/python3 -c 'import fusepy' 2>/dev/null") != 0)
            GTEST_SKIP() << "no FUSE here (/dev/fuse or python3-fusepy missing)";
        std::filesystem::create_directory(Mount);
        Server = fork();
        ASSERT_GE(Server, 0);
        if (Server == 0) {
            execl("/usr/bin/python3", "python3", VIVIZU_EDITOR_TEST_SCRIPTS "/failfs.py",
                  Source.c_str(), Mount.c_str(), Flag.c_str(), nullptr);
            _exit(127);
        }
        for (int i = 0; i < 500 && !std::filesystem::exists(Served); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!std::filesystem::exists(Served))
            GTEST_SKIP() << "FUSE cannot be mounted here";
    }
    void TearDown() override {
        if (Server <= 0)
            return;
        kill(Server, SIGTERM);
        int status = 0;
        waitpid(Server, &status, 0);
        umount2(Mount.c_str(), MNT_DETACH);
    }

    const std::string Mount = Temp / "mnt";
    const std::string Served = Mount + "/in.mp3";
    const std::string Flag = Temp / "fail-now";
    pid_t Server = -1;
};

TEST_F(SaveReadError, TheReportNamesTheSourceAndTheSystemsReason) {
    Open(Served);
    ASSERT_TRUE(TEditorControls(*Form).BtnSaveMp3->isEnabled());
    Temp.Write("fail-now", TextBytes("1"));
    const std::string out = Temp / "out.mp3";
    SaveTo(out);
    ASSERT_EQ(Seams.Reports.size(), 1u);
    EXPECT_TRUE(Seams.Boxes.empty());
    const QString text = Seams.Reports[0].Text;
    EXPECT_TRUE(text.startsWith(Q(Served) + "\n")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromLocal8Bit(std::strerror(EIO)))) << text.toStdString();
    EXPECT_FALSE(text.contains(Q(out))) << text.toStdString();
    EXPECT_FALSE(Exists(out));
}

} // namespace
