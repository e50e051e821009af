#pragma once
// Runs the built vivizu-cli and collects what it printed and its exit code,
// plus small files in a temporary folder for it to work on.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace clitest {

struct TRun {
    int Exit = -1;
    std::string Out;
    std::string Err;
};

// Runs vivizu-cli with args; env entries are set in its environment first
// ("LANG", "ru_RU.UTF-8"). LC_ALL and LC_CTYPE are always cleared. A
// fileSizeLimit of 0 or more limits the size of files it writes (bytes).
TRun RunCli(const std::vector<std::string>& args,
            const std::vector<std::pair<std::string, std::string>>& env = {},
            long fileSizeLimit = -1);

// A fresh folder removed with everything in it at the end of a test.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    std::string Path(const std::string& name) const { return (FPath / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path FPath;
};

std::string ReadFile(const std::string& path);

} // namespace clitest
