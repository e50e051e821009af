// The chunked decode against one plain libmpg123 decode of the whole file:
// the joined samples must be the same floats, for every layer, version and
// channel count, whatever the chunk size and thread count.
#include "SoundFiles.h"
#include "engine/decode/LevelMeter.h"
#include "engine/decode/ParallelDecode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace vivizu {
namespace {

using test::WalkAudioFrameStarts;

using test::DecodeWholeFile;

class TCollect : public TPcmSink {
public:
    void Begin(const TPcmFormat& format) override { Format = format; }
    void Samples(std::span<const float> pcm) override { Pcm.insert(Pcm.end(), pcm.begin(), pcm.end()); }
    TPcmFormat Format;
    std::vector<float> Pcm;
};

TCollect Decode(const std::string& file, std::span<const int64_t> starts, size_t first, size_t last,
                unsigned threads, size_t chunkFrames, TDecodeResult* result = nullptr)
{
    TCollect sink;
    TDecodeOptions options;
    options.Threads = threads;
    options.ChunkFrames = chunkFrames;
    const TDecodeResult r = DecodeInOrder(file, {starts, first, last}, options, sink);
    EXPECT_EQ(r.Status, TDecodeStatus::Done) << file << ": " << r.Message;
    EXPECT_EQ(r.JoinsUnequal, 0);
    if (result != nullptr)
        *result = r;
    return sink;
}

// Bitwise, so that -0.0 against 0.0 or a NaN would show.
bool SameFloats(std::span<const float> a, std::span<const float> b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

size_t FirstDifference(std::span<const float> a, std::span<const float> b)
{
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0)
            return i;
    return std::min(a.size(), b.size());
}

void ExpectChunkedEqualsWhole(const std::string& file)
{
    SCOPED_TRACE(file);
    const std::vector<int64_t> starts = WalkAudioFrameStarts(file);
    ASSERT_GT(starts.size(), 20u);
    const size_t frames = starts.size() - 1;
    int channels = 0;
    const std::vector<float> whole = DecodeWholeFile(file, &channels);

    TDecodeResult result;
    const TCollect all = Decode(file, starts, 0, frames, 2, 8, &result);
    EXPECT_EQ(all.Format.Channels, channels);
    EXPECT_EQ(static_cast<size_t>(result.Samples) * channels, all.Pcm.size());
    EXPECT_TRUE(SameFloats(all.Pcm, whole)) << "sizes " << all.Pcm.size() << " / " << whole.size()
                                            << ", first difference at " << FirstDifference(all.Pcm, whole);

    // A range inside the stream, decoded in one chunk from a few frames
    // before it: as many samples as its frames have, and, whatever the
    // chunks and threads, the same samples.
    const size_t first = frames / 3 + 1, last = frames - 3;
    const size_t perFrame = whole.size() / frames;
    const TCollect one = Decode(file, starts, first, last, 1, 100000);
    ASSERT_EQ(one.Pcm.size(), (last - first) * perFrame);
    for (const size_t chunk : {8u, 24u}) {
        for (const unsigned threads : {1u, 2u, 3u}) {
            const TCollect part = Decode(file, starts, first, last, threads, chunk);
            EXPECT_TRUE(SameFloats(part.Pcm, one.Pcm))
                << "chunk " << chunk << ", threads " << threads << ": first difference at "
                << FirstDifference(part.Pcm, one.Pcm) << " of " << one.Pcm.size();
        }
    }
}

TEST(ParallelDecode, JoinedChunksEqualOneDecodeOfTheFixtures)
{
    for (const char* name : {"cbr128-tags.mp3", "vbr48k.mp3", "mono22k.mp3", "mono8k.mp3", "stereo-notag.mp3",
                             "layer2-48k.mp3", "leading-zeros.mp3", "ffmpeg-ape.mp3"})
        ExpectChunkedEqualsWhole(std::string(VIVIZU_FIXTURES) + "/" + name);
}

TEST(ParallelDecode, JoinedChunksEqualOneDecodeAtLowRates)
{
    // Small frames: the bit reservoir reaches back over many of them.
    test::TSoundFolder folder;
    const std::string music = "synth 6 pinknoise vol 0.3 : synth 6 sine 300-3000 vol 0.3 channels 2 rate 48000";
    ExpectChunkedEqualsWhole(folder.Mp3("m1-32k", music, "-b 32"));
    ExpectChunkedEqualsWhole(folder.Mp3("m2-8k", "synth 6 pinknoise vol 0.3 rate 24000 channels 1", "-b 8"));
    ExpectChunkedEqualsWhole(folder.Mp3("m1-vbr", music, "-V 9 -m j"));
}

TEST(ParallelDecode, JoinedChunksEqualOneDecodeOfLayerI)
{
    test::TSoundFolder folder;
    for (const char* mode : {"stereo", "mono"}) {
        const std::string file = folder.Path() + "/layer1-" + mode + ".mp1";
        const std::string make = std::string("python3 '") + VIVIZU_DECODE_TESTS + "/make_layer1.py' '" + file
                                 + "' 150 " + mode;
        ASSERT_EQ(std::system(make.c_str()), 0);
        ExpectChunkedEqualsWhole(file);
    }
}

TEST(ParallelDecode, LevelsAreTheSameOnAnyThreadsAndChunks)
{
    const std::string file = std::string(VIVIZU_FIXTURES) + "/vbr48k.mp3";
    const std::vector<int64_t> starts = WalkAudioFrameStarts(file);
    const TDecodeRange range{starts, 5, starts.size() - 1};
    TDecodeOptions one;
    one.Threads = 1;
    one.ChunkFrames = 1 << 20;
    const TLevels reference = DecodeLevels(file, range, 441, one);
    ASSERT_EQ(reference.Result.Status, TDecodeStatus::Done);
    const size_t samples = (range.Last - range.First) * 1152;
    ASSERT_EQ(reference.Blocks.size(), (samples + 440) / 441);
    EXPECT_EQ(reference.Blocks.back().Count, static_cast<int32_t>(samples % 441));
    TDecodeOptions many;
    many.Threads = 3;
    many.ChunkFrames = 8;
    const TLevels chunked = DecodeLevels(file, range, 441, many);
    ASSERT_EQ(chunked.Blocks.size(), reference.Blocks.size());
    EXPECT_EQ(std::memcmp(chunked.Blocks.data(), reference.Blocks.data(),
                          reference.Blocks.size() * sizeof(TLevelBlock)),
              0);
}

TEST(ParallelDecode, ChunksBeginOnPhaseBoundariesAndWarmUpEarlier)
{
    std::vector<int64_t> starts;
    for (int64_t i = 0; i <= 1000; ++i)
        starts.push_back(i * 100); // 62 bytes of main data each
    const auto plan = PlanChunks(starts, 13, 990, 100, 2);
    ASSERT_FALSE(plan.empty());
    EXPECT_EQ(plan.front().First, 13u);
    EXPECT_EQ(plan.back().Last, 990u);
    for (size_t i = 0; i < plan.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(plan[i].First, plan[i - 1].Last);
            EXPECT_EQ(plan[i].First % 8, 0u);
        }
        EXPECT_EQ(plan[i].Warm % 8, 0u);
        // 1 KB of main data before the frame before the first.
        if (plan[i].Warm > 0) {
            EXPECT_LE(plan[i].Warm + 18, plan[i].First);
        }
    }
    EXPECT_EQ(WarmUpStart(starts, 3), 0u);
    // The first chunk checks nothing; the others repeat two frames.
    EXPECT_EQ(plan[0].Check, plan[0].First);
    EXPECT_EQ(plan[1].Check + 2, plan[1].First);
}

TEST(ParallelDecode, CancelStopsTheDecode)
{
    const std::string file = std::string(VIVIZU_FIXTURES) + "/cbr128-tags.mp3";
    const std::vector<int64_t> starts = WalkAudioFrameStarts(file);
    std::atomic<bool> cancel{true};
    TDecodeOptions options;
    options.Cancel = &cancel;
    options.ChunkFrames = 8;
    const TLevels levels = DecodeLevels(file, {starts, 0, starts.size() - 1}, 576, options);
    EXPECT_EQ(levels.Result.Status, TDecodeStatus::Cancelled);
    EXPECT_TRUE(levels.Blocks.empty());
}

// Cancelled from the sink while other threads wait with later chunks: the
// sink hears nothing after the cancel, however the threads are scheduled.
TEST(ParallelDecode, CancelDuringTheDecodeReleasesEveryThread)
{
    const std::string file = std::string(VIVIZU_FIXTURES) + "/vbr48k.mp3";
    const std::vector<int64_t> starts = WalkAudioFrameStarts(file);
    std::atomic<bool> cancel{false};
    class TCancelling : public TPcmSink {
    public:
        explicit TCancelling(std::atomic<bool>& flag) : Flag(flag) {}
        void Samples(std::span<const float>) override
        {
            ++Calls;
            Flag = true;
        }
        std::atomic<bool>& Flag;
        int Calls = 0;
    } sink(cancel);
    TDecodeOptions options;
    options.Cancel = &cancel;
    options.ChunkFrames = 8;
    options.Threads = 4;
    const TDecodeResult r = DecodeInOrder(file, {starts, 0, starts.size() - 1}, options, sink);
    EXPECT_EQ(r.Status, TDecodeStatus::Cancelled);
    EXPECT_EQ(sink.Calls, 1);
}

TEST(ParallelDecode, ReportsDamageAndShortFilesInsteadOfFailing)
{
    test::TSoundFolder folder;
    const std::string source = std::string(VIVIZU_FIXTURES) + "/cbr128-tags.mp3";
    const std::vector<int64_t> starts = WalkAudioFrameStarts(source);
    const size_t frames = starts.size() - 1;
    TDecodeOptions options;
    options.ChunkFrames = 8;
    options.Threads = 2;

    // A frame's header overwritten after the walk: the decode passes over
    // it as libmpg123 passes over damaged bytes, and that frame gives no
    // samples.
    const std::string damaged = folder.Path() + "/damaged.mp3";
    std::filesystem::copy_file(source, damaged);
    {
        std::fstream f(damaged, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(starts[frames / 2]);
        f.write("\0\0\0\0", 4);
    }
    const TLevels broken = DecodeLevels(damaged, {starts, 0, frames}, 576, options);
    EXPECT_EQ(broken.Result.Status, TDecodeStatus::Done) << broken.Result.Message;
    EXPECT_EQ(broken.Blocks.size(), (frames - 1) * 2);

    // The file made shorter after the walk.
    const std::string shorter = folder.Path() + "/short.mp3";
    std::filesystem::copy_file(source, shorter);
    std::filesystem::resize_file(shorter, static_cast<uintmax_t>(starts[frames - 2] + 10));
    EXPECT_EQ(DecodeLevels(shorter, {starts, 0, frames}, 576, options).Result.Status, TDecodeStatus::ReadError);

    EXPECT_EQ(DecodeLevels(folder.Path() + "/missing.mp3", {starts, 0, frames}, 576, options).Result.Status,
              TDecodeStatus::ReadError);
    EXPECT_EQ(DecodeLevels(source, {starts, 4, 4}, 576, options).Result.Status, TDecodeStatus::EmptyRange);
    EXPECT_EQ(DecodeLevels(source, {starts, 0, frames + 1}, 576, options).Result.Status, TDecodeStatus::EmptyRange);
}

} // namespace
} // namespace vivizu
