// The engine's preview operations: what they ask of the device, and how a
// preview runs on the real device with a silent output.
#include "engine/RoruvoMp3.h"
#include "platform/media/Mp3MediaDevice.h"
#include "platform/media/ThreadOutput.h"
#include "tests/media/MediaTestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <thread>
#include <vector>

namespace vivizu {
namespace {

using namespace std::chrono_literals;

// Records every request; answers with a fixed mode while open.
class SpyDevice final : public TMediaDevice {
public:
    explicit SpyDevice(std::vector<std::string>& log) : FLog(log) {}
    void Open(const std::string& fileName) override
    {
        FLog.push_back("open " + fileName);
        if (OpenError)
            throw TMediaError("device refused");
        FOpen = true;
    }
    bool IsOpen() const override { return FOpen; }
    bool Seek(uint32_t ms) override
    {
        FLog.push_back("seek " + std::to_string(ms));
        return true;
    }
    bool PlayTo(uint32_t ms) override
    {
        FLog.push_back("play " + std::to_string(ms));
        return true;
    }
    TMediaMode Mode() const override
    {
        FLog.push_back("mode");
        return FOpen ? PlayMode : TMediaMode::NotReady;
    }
    int64_t Position() const override
    {
        FLog.push_back("position");
        return 777;
    }
    void Close() override
    {
        FLog.push_back("close");
        FOpen = false;
    }

    bool OpenError = false;
    TMediaMode PlayMode = TMediaMode::Playing;

private:
    std::vector<std::string>& FLog;
    bool FOpen = false;
};

const std::string Cbr = test::Fixture("cbr128-tags.mp3");

bool WaitStopped(TRoruvoMP3& mp3, std::chrono::milliseconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!mp3.IsStopped()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// Preview time t is the engine's time t: the stream the device plays is
// exactly as long as the engine's frame walk says, header frame or not.
TEST(EnginePreview, DeviceTimeMatchesTheEnginesFrameWalk)
{
    for (const char* name : {"cbr128-tags.mp3", "vbr48k.mp3", "mono22k.mp3", "mono8k.mp3",
                             "layer2-48k.mp3", "ffmpeg-ape.mp3", "leading-zeros.mp3"}) {
        SCOPED_TRACE(name);
        TRoruvoMP3 mp3(test::Fixture(name));
        ASSERT_TRUE(mp3.Valid);
        TMp3MediaDevice device(std::make_unique<TSilentOutput>());
        device.Open(test::Fixture(name));
        ASSERT_TRUE(device.Seek(std::numeric_limits<uint32_t>::max()));
        // The engine truncates to whole milliseconds, the device rounds.
        EXPECT_NEAR(device.Position(), mp3.Info.LengthMs, 1);
    }
}

// Without a valid file PlayRange, and with nothing open StopPlaying, ask
// nothing of the device.
TEST(EnginePreview, NothingToPlayAsksNothingOfTheDevice)
{
    std::vector<std::string> log;
    TRoruvoMP3 mp3({}, std::make_unique<SpyDevice>(log));
    EXPECT_FALSE(mp3.PlayRange(0, 1000));
    const test::TempDir dir;
    mp3.LoadFile(dir.Write("text.mp3", test::TextBytes("just some text, no audio here")));
    ASSERT_FALSE(mp3.Valid);
    EXPECT_FALSE(mp3.PlayRange(0, 1000));
    mp3.StopPlaying();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(mp3.IsStopped());
    EXPECT_EQ(mp3.PlayPosition(), -1);
}

TEST(EnginePreview, PlayRangeReopensSeeksPlaysAndReportsTheMode)
{
    std::vector<std::string> log;
    auto spy = std::make_unique<SpyDevice>(log);
    SpyDevice* device = spy.get();
    TRoruvoMP3 mp3(Cbr, std::move(spy));
    ASSERT_TRUE(mp3.Valid);
    log.clear();

    EXPECT_TRUE(mp3.PlayRange(250, 1000));
    EXPECT_EQ(log, (std::vector<std::string>{"close", "open " + Cbr, "seek 250", "play 1000", "mode"}));
    EXPECT_EQ(mp3.PlayPosition(), 777);
    EXPECT_FALSE(mp3.IsStopped());

    // Times beyond the device's 32-bit milliseconds are held at its ends.
    log.clear();
    device->PlayMode = TMediaMode::Stopped;
    EXPECT_FALSE(mp3.PlayRange(-5, int64_t{1} << 40));
    EXPECT_EQ(log, (std::vector<std::string>{"close", "open " + Cbr, "seek 0", "play 4294967295", "mode"}));
    EXPECT_EQ(mp3.PlayPosition(), -1); // asked only while playing
    EXPECT_TRUE(mp3.IsStopped());
}

TEST(EnginePreview, OpenErrorsReachTheCallerAndLeaveNothingOpen)
{
    std::vector<std::string> log;
    auto spy = std::make_unique<SpyDevice>(log);
    spy->OpenError = true;
    TRoruvoMP3 mp3(Cbr, std::move(spy));
    EXPECT_THROW(mp3.PlayRange(0, 1000), TMediaError);
    EXPECT_TRUE(mp3.IsStopped());
    EXPECT_EQ(mp3.PlayPosition(), -1);

    TRoruvoMP3 noPlayer(Cbr);
    ASSERT_TRUE(noPlayer.Valid);
    EXPECT_THROW(noPlayer.PlayRange(0, 1000), TMediaError);
    EXPECT_TRUE(noPlayer.IsStopped());
    EXPECT_EQ(noPlayer.PlayPosition(), -1);
}

TEST(EnginePreview, PlaysTheWholeStreamFromTheStartAndStopsAtItsEnd)
{
    TRoruvoMP3 mp3(Cbr, std::make_unique<TMp3MediaDevice>(std::make_unique<TSilentOutput>()));
    ASSERT_TRUE(mp3.Valid);
    ASSERT_TRUE(mp3.PlayRange(0, mp3.Info.LengthMs));
    EXPECT_FALSE(mp3.IsStopped());
    const int64_t first = mp3.PlayPosition();
    EXPECT_GE(first, 0);
    EXPECT_LT(first, 300);
    std::this_thread::sleep_for(300ms);
    EXPECT_GT(mp3.PlayPosition(), first);

    ASSERT_TRUE(WaitStopped(mp3, 5s));
    EXPECT_EQ(mp3.PlayPosition(), -1);
    EXPECT_TRUE(mp3.Player()->IsOpen()); // stopped at the end, still open
    mp3.StopPlaying();
    EXPECT_FALSE(mp3.Player()->IsOpen());
    EXPECT_TRUE(mp3.IsStopped());
}

TEST(EnginePreview, ANewRangeReplacesTheOneStillPlaying)
{
    TRoruvoMP3 mp3(Cbr, std::make_unique<TMp3MediaDevice>(std::make_unique<TSilentOutput>()));
    ASSERT_TRUE(mp3.PlayRange(0, mp3.Info.LengthMs));
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(mp3.PlayRange(1200, mp3.Info.LengthMs));
    const int64_t position = mp3.PlayPosition();
    EXPECT_GE(position, 1200);
    EXPECT_LT(position, 1400);
    mp3.StopPlaying();
    EXPECT_TRUE(mp3.IsStopped());
    EXPECT_EQ(mp3.PlayPosition(), -1);
}

TEST(EnginePreview, LoadFileEndsAPreviewOnlyWhenTheNewFileIsValid)
{
    TRoruvoMP3 mp3(Cbr, std::make_unique<TMp3MediaDevice>(std::make_unique<TSilentOutput>()));
    ASSERT_TRUE(mp3.PlayRange(0, mp3.Info.LengthMs));
    const test::TempDir dir;
    mp3.LoadFile(dir.Write("plain.mp3", test::TextBytes("not audio at all")));
    EXPECT_FALSE(mp3.IsStopped());
    mp3.LoadFile(test::Fixture("vbr48k.mp3"));
    ASSERT_TRUE(mp3.Valid);
    EXPECT_FALSE(mp3.Player()->IsOpen());
    EXPECT_TRUE(mp3.IsStopped());
    EXPECT_EQ(mp3.PlayPosition(), -1);
}

} // namespace
} // namespace vivizu
