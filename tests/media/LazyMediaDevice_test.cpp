// The preview device as the programs get it: loaded from the module
// libvivizu-media.so on the first Open. It plays through the module, and a
// TMediaError thrown inside the module is caught as one out here, in the
// test and in vivizu-cli.
#include "platform/LazyMediaDevice.h"
#include "tests/media/MediaTestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <chrono>
#include <cstdio>

namespace vivizu {
namespace {

using namespace std::chrono_literals;

TEST(LazyMediaDevice, PlaysThroughTheModule)
{
    const test::ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    TLazyMediaDevice device(VIVIZU_MEDIA_MODULE);
    EXPECT_FALSE(device.Loaded());
    device.Open(test::Fixture("mono22k.mp3"));
    EXPECT_TRUE(device.Loaded());
    ASSERT_TRUE(device.IsOpen());
    ASSERT_TRUE(device.Seek(1300));
    ASSERT_TRUE(device.PlayTo(1500));
    test::WaitStopped(device, 3s);
    EXPECT_EQ(device.Mode(), TMediaMode::Stopped);
    EXPECT_EQ(device.Position(), 1500);
    device.Close();
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.Position(), -1);
}

TEST(LazyMediaDevice, TheModulesErrorsAreCaughtAsTMediaError)
{
    const test::ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    TLazyMediaDevice device(VIVIZU_MEDIA_MODULE);
    try {
        device.Open(test::Fixture("mono22k.mp3"));
        FAIL() << "opened an output that does not exist";
    } catch (const TMediaError& e) {
        EXPECT_NE(std::string(e.what()).find("no-such-driver"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(device.Loaded());
    EXPECT_FALSE(device.IsOpen());
}

// vivizu-cli links no sound library; its `play` loads the module beside it
// and reports the module's TMediaError as an output that cannot be opened.
TEST(LazyMediaDevice, CliPlayReportsTheModulesErrorWithExit3)
{
    const std::string command = "SDL_AUDIODRIVER=no-such-driver '" VIVIZU_CLI "' play '" +
                                test::Fixture("mono22k.mp3") + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 256> buffer{};
    while (fgets(buffer.data(), buffer.size(), pipe))
        output += buffer.data();
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(WEXITSTATUS(status), 3) << output;
    EXPECT_NE(output.find("cannot open the audio output"), std::string::npos) << output;
    EXPECT_NE(output.find("no-such-driver"), std::string::npos) << output;
}

} // namespace
} // namespace vivizu
