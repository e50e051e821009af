#pragma once
// A folder served through a FUSE file system that folds letter case and
// gives no stable inode numbers (casefs.py), for the tests of the same-file
// rule. Skips the test where FUSE is not available.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vivizu::test {

class TCaseFoldMount {
public:
    // Serves root at mount; Ready() tells whether it came up.
    TCaseFoldMount(const std::string& root, const std::string& mount) : FMount(mount)
    {
        if (access("/dev/fuse", R_OK | W_OK) != 0 ||
            std::system("/usr/bin/python3 -c 'import fusepy' 2>/dev/null") != 0)
            return;
        std::filesystem::create_directories(mount);
        const std::string marker = root + "/.mounted";
        std::filesystem::create_directories(marker);
        FServer = fork();
        if (FServer == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            execl("/usr/bin/python3", "python3", VIVIZU_TEST_SCRIPTS "/casefs.py", root.c_str(), mount.c_str(),
                  nullptr);
            _exit(127);
        }
        for (int i = 0; i < 500 && !std::filesystem::exists(mount + "/.MOUNTED"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        FReady = std::filesystem::exists(mount + "/.MOUNTED");
        std::filesystem::remove(marker);
    }

    ~TCaseFoldMount()
    {
        if (FServer <= 0)
            return;
        kill(FServer, SIGTERM); // the file system unmounts itself
        int status = 0;
        waitpid(FServer, &status, 0);
        umount2(FMount.c_str(), MNT_DETACH); // in case it could not
    }

    TCaseFoldMount(const TCaseFoldMount&) = delete;
    TCaseFoldMount& operator=(const TCaseFoldMount&) = delete;

    bool Ready() const { return FReady; }

private:
    std::string FMount;
    pid_t FServer = -1;
    bool FReady = false;
};

} // namespace vivizu::test
