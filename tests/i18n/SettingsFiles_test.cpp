// Settings and language files that are not what their names promise (a
// named pipe, a link to a device, a huge file), and a process without a
// home folder: the program starts normally and says what it ignored.
#include "I18nTestSupport.h"

#include "i18n/Language.h"
#include "i18n/LanguageFile.h"
#include "i18n/Settings.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class OddFiles : public ::testing::Test {
protected:
    OddFiles() { SetProgramFolder(Folder.Path); }
    ~OddFiles() override { SetProgramFolder(std::string()); }

    // The language read at start and what it printed on stderr.
    std::pair<int, std::string> ReadLanguage() {
        CurrentLanguage = 3;
        ::testing::internal::CaptureStderr();
        ReadLanguageSetting();
        return {CurrentLanguage, ::testing::internal::GetCapturedStderr()};
    }

    TScratch Folder;
    const std::string Settings = Folder.Path + "Vivizu.ini";
};

} // namespace

TEST_F(OddFiles, SettingsThatAreNoRegularFileOrTooLargeAreIgnoredWithAMessage) {
    ASSERT_EQ(mkfifo(Settings.c_str(), 0600), 0);  // would block the start for good
    auto [language, said] = ReadLanguage();
    EXPECT_EQ(language, 7);
    EXPECT_NE(said.find(Settings + "\" is not a regular file"), std::string::npos) << said;
    // Nor is it replaced when the setting is written.
    EXPECT_THROW(WriteLanguageSetting(), std::system_error);
    struct stat st {};
    EXPECT_TRUE(stat(Settings.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
    std::filesystem::remove(Settings);

    std::filesystem::create_symlink("/dev/zero", Settings);  // would fill the memory
    std::tie(language, said) = ReadLanguage();
    EXPECT_EQ(language, 7);
    EXPECT_NE(said.find("is not a regular file"), std::string::npos) << said;
    std::filesystem::remove(Settings);

    const std::string setting = "[LANGUAGE]\nDefault=2\n";
    Folder.Write("Vivizu.ini", setting + std::string(SettingsFileLimit - setting.size(), ';'));
    EXPECT_EQ(ReadLanguage(), std::make_pair(2, std::string()));
    Folder.Write("Vivizu.ini", setting + std::string(SettingsFileLimit - setting.size() + 1, ';'));
    std::tie(language, said) = ReadLanguage();
    EXPECT_EQ(language, 7);
    EXPECT_NE(said.find(Settings + "\" is larger than 1 MB; it is ignored"), std::string::npos) << said;
    EXPECT_THROW(WriteLanguageSetting(), std::system_error);
    EXPECT_EQ(std::filesystem::file_size(Settings), SettingsFileLimit + 1);
}

TEST_F(OddFiles, LanguageFilesThatAreNoRegularFileOrTooLargeGiveNoLines) {
    const std::string lines = "[Messages]\nMs_Info=Note\n";
    const std::string file = Folder.Write("big.isl", lines + std::string(LanguageFileLimit - lines.size(), ';'));
    EXPECT_EQ(LoadLanguageFile(file).ReadString("Messages", "Ms_Info", ""), "Note");
    Folder.Write("big.isl", lines + std::string(LanguageFileLimit - lines.size() + 1, ';'));
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(LoadLanguageFile(file).SectionNames().empty());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("language file \"" + file + "\" is larger than 4 MB"), std::string::npos) << said;

    const std::string pipe = Folder.Path + "pipe.isl";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(LoadLanguageFile(pipe).SectionNames().empty());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("is not a regular file"), std::string::npos);
}

// Started with an empty environment, the program keeps its settings in the
// user's home folder from the user database, never in the current folder.
TEST(NoHome, TheUserDatabaseGivesTheHomeFolder) {
    const passwd* user = getpwuid(getuid());
    if (!user || !user->pw_dir || user->pw_dir[0] != '/')
        GTEST_SKIP() << "this user has no home folder in the user database";
    const std::string home = user->pw_dir;
    const char* savedHome = std::getenv("HOME");
    const std::string keptHome = savedHome ? savedHome : "";
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserSettingsFolder(), WithTrailingSlash(home) + ".config/vivizu/");
    TScratch program;
    EXPECT_EQ(SettingsFileFor(program.Path, false), WithTrailingSlash(home) + ".config/vivizu/Vivizu.ini");
    if (savedHome)
        setenv("HOME", keptHome.c_str(), 1);
}

// A user without an entry in the user database and no HOME: the settings
// live in memory, nothing is written, and stderr says so once.
TEST(NoHome, WithoutAnyHomeTheSettingsStayInMemory) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to run as a user without a home folder";
    TScratch work;
    int err[2];
    ASSERT_EQ(pipe(err), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(err[1], 2);
        unsetenv("HOME");
        unsetenv("XDG_CONFIG_HOME");
        uid_t stranger = 54321;
        while (getpwuid(stranger) != nullptr)
            ++stranger;
        if (chdir(work.Path.c_str()) != 0 || setgid(stranger) != 0 || setuid(stranger) != 0)
            _exit(10);
        SetProgramFolder(work.Path);  // not writable for that user
        if (!UserSettingsFolder().empty() || !SettingsFilePath().empty())
            _exit(11);
        CurrentLanguage = 2;
        WriteLanguageSetting();
        WriteSetting("OPTIONS", "LastFolder", "/music");
        CurrentLanguage = 7;
        ReadLanguageSetting();
        if (CurrentLanguage != 2 || ReadSetting("OPTIONS", "LastFolder") != "/music")
            _exit(12);
        _exit(0);
    }
    close(err[1]);
    std::string said;
    char buffer[256];
    for (ssize_t got; (got = read(err[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<size_t>(got));
    close(err[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(std::filesystem::is_empty(work.Path));
    EXPECT_EQ(said,
              "vivizu: there is no home folder to keep the settings in; they are kept in memory until the "
              "program ends\n");
}
