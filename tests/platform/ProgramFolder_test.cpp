#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

using namespace vivizu;

TEST(ProgramFolder, IsTheExecutablesFolderWithOneTrailingSlash) {
    const auto folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_NE(folder.substr(folder.size() >= 2 ? folder.size() - 2 : 0), "//");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::exists(folder + program_invocation_short_name));
}

TEST(ProgramFolder, SlashIsAppendedOnlyWhenMissing) {
    EXPECT_EQ(WithTrailingSlash("/opt/vivizu"), "/opt/vivizu/");
    EXPECT_EQ(WithTrailingSlash("/opt/vivizu/"), "/opt/vivizu/");
    EXPECT_EQ(WithTrailingSlash("/"), "/");
    SetProgramFolder("/tmp/x");
    EXPECT_EQ(ProgramFolder(), "/tmp/x/");
}
