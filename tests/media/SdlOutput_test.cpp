// The program's own device, through SDL: with SDL's dummy driver it plays
// without a sound card; with no usable driver opening fails with SDL's text.
#include "platform/media/CreateMediaDevice.h"
#include "tests/media/MediaTestFiles.h"

#include <gtest/gtest.h>

#include <chrono>

namespace vivizu {
namespace {

using namespace std::chrono_literals;

using test::ScopedEnv;

TEST(SdlOutput, PlaysARangeOnTheDummyDriver)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    auto device = CreateMediaDevice();
    device->Open(test::Fixture("mono22k.mp3"));
    ASSERT_TRUE(device->Seek(1300));
    ASSERT_TRUE(device->PlayTo(1500));
    EXPECT_EQ(device->Mode(), TMediaMode::Playing);
    test::WaitStopped(*device, 3s);
    EXPECT_EQ(device->Mode(), TMediaMode::Stopped);
    EXPECT_EQ(device->Position(), 1500);
    device->Close();
    EXPECT_EQ(device->Mode(), TMediaMode::NotReady);
}

TEST(SdlOutput, NoAudioOutputRaisesSdlsOwnText)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    auto device = CreateMediaDevice();
    try {
        device->Open(test::Fixture("mono22k.mp3"));
        FAIL() << "opened an output that does not exist";
    } catch (const TMediaError& e) {
        EXPECT_NE(std::string(e.what()).find("no-such-driver"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(device->IsOpen());
    EXPECT_EQ(device->Position(), -1);
}

} // namespace
} // namespace vivizu
