// The on-demand preview device without its module: it answers as a closed
// device until loaded, and a module that cannot be loaded is a TMediaError
// naming the loader's reason.
#include "platform/LazyMediaDevice.h"

#include <gtest/gtest.h>

#include <string>

using namespace vivizu;

namespace {

void ExpectClosed(TLazyMediaDevice& device)
{
    EXPECT_FALSE(device.Loaded());
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.Mode(), TMediaMode::NotReady);
    EXPECT_EQ(device.Position(), -1);
    EXPECT_FALSE(device.Seek(100));
    EXPECT_FALSE(device.PlayTo(100));
    device.Close(); // harmless
}

// Opens through the device and returns the text of the TMediaError raised.
std::string OpenError(TLazyMediaDevice& device)
{
    try {
        device.Open(std::string(VIVIZU_FIXTURES) + "/mono8k.mp3");
    } catch (const TMediaError& e) {
        return e.what();
    }
    ADD_FAILURE() << "opened without a module";
    return {};
}

} // namespace

TEST(LazyMediaDevice, AnswersAsClosedUntilLoadedAndReportsAMissingModule)
{
    TLazyMediaDevice device("/nonexistent/folder/libvivizu-media.so");
    ExpectClosed(device);
    for (int attempt = 0; attempt < 2; ++attempt) { // a failed load is not remembered as loaded
        const std::string text = OpenError(device);
        EXPECT_NE(text.find("preview module could not be loaded"), std::string::npos) << text;
        EXPECT_NE(text.find("/nonexistent/folder/libvivizu-media.so"), std::string::npos) << text;
        EXPECT_NE(text.find("No such file"), std::string::npos) << text;
        ExpectClosed(device);
    }
}

TEST(LazyMediaDevice, AFileThatIsNoModuleIsReportedWithTheLoadersReason)
{
    // An MP3 file in place of the module: the loader refuses its header.
    TLazyMediaDevice device(std::string(VIVIZU_FIXTURES) + "/mono8k.mp3");
    const std::string text = OpenError(device);
    EXPECT_NE(text.find("preview module could not be loaded"), std::string::npos) << text;
    EXPECT_NE(text.find("mono8k.mp3"), std::string::npos) << text;
    ExpectClosed(device);
}
