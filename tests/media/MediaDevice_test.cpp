// The preview device on outputs without a sound card: the silent output
// paces in real time, the recording output keeps every sample it gets.
#include "platform/media/Mp3MediaDevice.h"
#include "platform/media/ThreadOutput.h"
#include "tests/media/MediaTestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vivizu {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// cbr128-tags.mp3: 44.1 kHz stereo, an Info header frame and 59 audio
// frames of 1152 samples = 1541 ms.
constexpr int64_t CbrLengthMs = 67968 * 1000 / 44100;

class FailingOutput final : public TAudioOutput {
public:
    void Open(int, int, TAudioSource&) override { throw TMediaError("no audio device here"); }
    void Start() override {}
    void Pause() override {}
    void Close() override {}
    uint32_t LatencyFrames() const override { return 0; }
};

TEST(MediaDevice, ClosedDeviceAnswersNotReadyAndRefusesCommands)
{
    TMp3MediaDevice device(std::make_unique<TSilentOutput>());
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.Mode(), TMediaMode::NotReady);
    EXPECT_EQ(device.Position(), -1);
    EXPECT_FALSE(device.Seek(100));
    EXPECT_FALSE(device.PlayTo(100));
    device.Close(); // harmless
    EXPECT_FALSE(device.IsOpen());
}

TEST(MediaDevice, OpenFailuresCarryTheTextAndLeaveTheDeviceClosed)
{
    TMp3MediaDevice device(std::make_unique<TSilentOutput>());
    try {
        device.Open("/nonexistent/folder/song.mp3");
        FAIL() << "opened a missing file";
    } catch (const TMediaError& e) {
        EXPECT_STREQ(e.what(), "No such file or directory");
    }
    EXPECT_FALSE(device.IsOpen());

    const test::TempDir dir;
    EXPECT_THROW(device.Open(dir.Write("notes.mp3", test::Bytes(4000, 'x'))), TMediaError);
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.Position(), -1);

    TMp3MediaDevice noOutput(std::make_unique<FailingOutput>());
    try {
        noOutput.Open(test::Fixture("cbr128-tags.mp3"));
        FAIL() << "opened without an output";
    } catch (const TMediaError& e) {
        EXPECT_STREQ(e.what(), "no audio device here");
    }
    EXPECT_FALSE(noOutput.IsOpen());
    EXPECT_EQ(noOutput.Mode(), TMediaMode::NotReady);
}

TEST(MediaDevice, SeekClampsToTheEndAndPlayNeedsRoomAhead)
{
    TMp3MediaDevice device(std::make_unique<TSilentOutput>());
    device.Open(test::Fixture("cbr128-tags.mp3"));
    EXPECT_EQ(device.Mode(), TMediaMode::Stopped);
    EXPECT_EQ(device.Position(), 0);

    EXPECT_TRUE(device.Seek(700));
    EXPECT_EQ(device.Position(), 700);
    EXPECT_FALSE(device.PlayTo(700));  // nothing between 700 and 700
    EXPECT_FALSE(device.PlayTo(300));  // no playing backwards
    EXPECT_EQ(device.Mode(), TMediaMode::Stopped);
    EXPECT_EQ(device.Position(), 700);

    EXPECT_TRUE(device.Seek(4'000'000'000u));
    EXPECT_EQ(device.Position(), CbrLengthMs);
    EXPECT_FALSE(device.PlayTo(4'000'000'000u));
    EXPECT_EQ(device.Mode(), TMediaMode::Stopped);
}

TEST(MediaDevice, PlaysInRealTimeToTheEndAndStaysOpenStopped)
{
    TMp3MediaDevice device(std::make_unique<TSilentOutput>());
    device.Open(test::Fixture("cbr128-tags.mp3"));
    ASSERT_TRUE(device.Seek(CbrLengthMs - 400));
    const auto started = Clock::now();
    // Past the end of the stream: plays to the end.
    ASSERT_TRUE(device.PlayTo(CbrLengthMs + 5000));
    EXPECT_EQ(device.Mode(), TMediaMode::Playing);

    int64_t last = -1;
    while (device.Mode() == TMediaMode::Playing && Clock::now() - started < 3s) {
        const int64_t position = device.Position();
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            Clock::now() - started).count();
        EXPECT_GE(position, last); // never steps back
        // Never ahead of the clock by more than the output's 20 ms period.
        EXPECT_LE(position - (CbrLengthMs - 400), elapsed + 25);
        last = position;
        std::this_thread::sleep_for(20ms);
    }
    const auto took = Clock::now() - started;
    EXPECT_EQ(device.Mode(), TMediaMode::Stopped);
    EXPECT_GE(took, 390ms); // paced in real time, not faster
    EXPECT_TRUE(device.IsOpen());
    EXPECT_EQ(device.Position(), CbrLengthMs);

    device.Close();
    EXPECT_EQ(device.Mode(), TMediaMode::NotReady);
    EXPECT_EQ(device.Position(), -1);
}

TEST(MediaDevice, CloseEndsPlaybackAtOnce)
{
    auto output = std::make_unique<TRecordingOutput>();
    TRecordingOutput* recording = output.get();
    TMp3MediaDevice device(std::move(output));
    device.Open(test::Fixture("cbr128-tags.mp3"));
    ASSERT_TRUE(device.PlayTo(CbrLengthMs));
    // The recording output takes audio faster than real time; whatever it
    // has by the time Close returns is all it ever gets.
    const auto before = Clock::now();
    device.Close();
    EXPECT_LT(Clock::now() - before, 500ms);
    const size_t received = recording->Samples().size();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(recording->Samples().size(), received);
    EXPECT_FALSE(device.IsOpen());
}

TEST(MediaDevice, PlayToWhilePlayingGoesOnFromTheHeardPosition)
{
    TMp3MediaDevice device(std::make_unique<TSilentOutput>());
    device.Open(test::Fixture("cbr128-tags.mp3"));
    const auto started = Clock::now();
    ASSERT_TRUE(device.PlayTo(CbrLengthMs));
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(device.PlayTo(CbrLengthMs));
    // Measured against the time that really passed, so a loaded machine
    // that sleeps longer does not fail it.
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
    const int64_t resumed = device.Position();
    EXPECT_GE(resumed, 100);
    EXPECT_LE(resumed, std::min<int64_t>(elapsed + 400, CbrLengthMs));
    EXPECT_EQ(device.Mode(), TMediaMode::Playing);
    // A seek stops the play and moves.
    ASSERT_TRUE(device.Seek(100));
    EXPECT_EQ(device.Mode(), TMediaMode::Stopped);
    EXPECT_EQ(device.Position(), 100);
}

// What reaches the output is exactly libmpg123's decoding of the range, for
// each kind of stream: MPEG 1 with tags and an Info frame, VBR at 48 kHz,
// MPEG 2 mono, Layer 2.
TEST(MediaDevice, RecordedRangeEqualsTheDecoderOutputSampleForSample)
{
    struct TCase {
        const char* File;
        uint32_t StartMs, EndMs;
    };
    for (const TCase c : {TCase{"cbr128-tags.mp3", 250, 1234}, TCase{"vbr48k.mp3", 333, 1500},
                          TCase{"mono22k.mp3", 0, 1000}, TCase{"layer2-48k.mp3", 1001, 1512}}) {
        SCOPED_TRACE(c.File);
        const std::string file = test::Fixture(c.File);
        auto output = std::make_unique<TRecordingOutput>();
        TRecordingOutput* recording = output.get();
        TMp3MediaDevice device(std::move(output));
        device.Open(file);
        ASSERT_TRUE(device.Seek(c.StartMs));
        ASSERT_TRUE(device.PlayTo(c.EndMs));
        ASSERT_TRUE(test::WaitStopped(device, 5s));
        EXPECT_EQ(device.Position(), c.EndMs);

        const auto probe = test::DecodeReference(file, 0, 0);
        const int64_t first = int64_t{c.StartMs} * probe.Rate / 1000;
        const int64_t count = int64_t{c.EndMs} * probe.Rate / 1000 - first;
        const auto reference = test::DecodeReference(file, first, count);
        ASSERT_EQ(reference.Samples.size(), static_cast<size_t>(count * reference.Channels));
        const std::vector<int16_t> recorded = recording->Samples();
        ASSERT_EQ(recorded.size(), reference.Samples.size());
        EXPECT_TRUE(recorded == reference.Samples);
    }
}

} // namespace
} // namespace vivizu
