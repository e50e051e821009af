// Where the settings file lives: beside the program when it may, otherwise
// in the user's settings folder.
#include "i18n/Settings.h"
#include "platform/ProgramFolder.h"
#include "tests/engine/Mp3Bytes.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

using namespace vivizu;
using vivizu::test::TempDir;

namespace {

// Sets (or, with nullptr, removes) an environment variable for one test.
class TEnv {
public:
    TEnv(const char* name, const char* value) : FName(name) {
        if (const char* old = std::getenv(name))
            FOld = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~TEnv() { FOld ? setenv(FName, FOld->c_str(), 1) : unsetenv(FName); }
    TEnv(const TEnv&) = delete;
    TEnv& operator=(const TEnv&) = delete;

private:
    const char* FName;
    std::optional<std::string> FOld;
};

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { FSaved = ProgramFolder(); }
    void TearDown() override { SetProgramFolder(FSaved); }

    TempDir Temp;
    std::string FSaved;
};

} // namespace

TEST_F(SettingsFile, WritableProgramFolderKeepsItBesideTheProgram) {
    SetProgramFolder(Temp.Path());
    EXPECT_EQ(SettingsFilePath(), Temp.Path() + "/Vivizu.ini");
}

// A program folder the user cannot write to (or that is gone): the user's
// settings folder, named by XDG_CONFIG_HOME when that is an absolute path.
TEST_F(SettingsFile, UnwritableProgramFolderMeansTheUserSettingsFolder) {
    SetProgramFolder(Temp / "gone");
    {
        const TEnv config("XDG_CONFIG_HOME", "/home/u/cfg");
        EXPECT_EQ(SettingsFilePath(), "/home/u/cfg/vivizu/Vivizu.ini");
    }
    const TEnv home("HOME", "/home/u");
    for (const char* value : {static_cast<const char*>(nullptr), "", "relative/cfg"}) {
        const TEnv config("XDG_CONFIG_HOME", value);
        EXPECT_EQ(SettingsFilePath(), "/home/u/.config/vivizu/Vivizu.ini");
    }
}

TEST_F(SettingsFile, ReadOnlyProgramFolderKeepsASettingsFileAlreadyThere) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write into any folder";
    const std::string program = Temp / "program";
    ASSERT_EQ(mkdir(program.c_str(), 0755), 0);
    SetProgramFolder(program);
    chmod(program.c_str(), 0555);
    const TEnv config("XDG_CONFIG_HOME", "/home/u/cfg");
    EXPECT_EQ(SettingsFilePath(), "/home/u/cfg/vivizu/Vivizu.ini");

    chmod(program.c_str(), 0755);
    Temp.Write("program/Vivizu.ini", test::TextBytes("[LANGUAGE]\nDefault=2\n"));
    chmod(program.c_str(), 0555);
    EXPECT_EQ(SettingsFilePath(), program + "/Vivizu.ini");
    chmod(program.c_str(), 0755);
}
