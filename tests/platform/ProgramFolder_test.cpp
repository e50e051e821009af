#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

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

// The program's files: beside the executable in a portable copy, in
// share/vivizu (and the module in lib/vivizu) of an installed one.
TEST(ProgramFolder, FilesBesideTheProgramFirstThenTheInstalledFolders) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() /
                          ("vivizu-folders-" + std::to_string(::getpid()));
    const auto make = [](const fs::path& p) { fs::create_directories(p); };
    const auto touch = [](const fs::path& p) { std::ofstream(p) << "x"; };
    make(root / "prefix/bin");
    const std::string bin = (root / "prefix/bin").string();

    // Nothing anywhere: the executable's folder, where the errors then name
    // the missing files.
    EXPECT_EQ(DataFolderFor(bin), bin + "/");
    EXPECT_EQ(FolderHolding(bin, "libvivizu-media.so", "lib/vivizu"), bin + "/");

    // Installed: share/vivizu and lib/vivizu beside bin/, as plain paths.
    make(root / "prefix/share/vivizu/Languages");
    make(root / "prefix/lib/vivizu");
    touch(root / "prefix/lib/vivizu/libvivizu-media.so");
    EXPECT_EQ(DataFolderFor(bin + "/"), (root / "prefix/share/vivizu/").string());
    EXPECT_EQ(FolderHolding(bin, "libvivizu-media.so", "lib/vivizu"),
              (root / "prefix/lib/vivizu/").string());

    // A portable copy beside the executable wins over an installed one.
    make(root / "prefix/bin/Languages");
    touch(root / "prefix/bin/libvivizu-media.so");
    EXPECT_EQ(DataFolderFor(bin), bin + "/");
    EXPECT_EQ(FolderHolding(bin, "libvivizu-media.so", "lib/vivizu"), bin + "/");
    fs::remove_all(root);
}
