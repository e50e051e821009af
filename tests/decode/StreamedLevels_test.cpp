// Levels handed on as the decode measures them: decoded from the frame
// index's own positions, delivered block by block while the decode runs,
// turned into silences and waveform bytes without keeping the blocks.
#include "SoundFiles.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/LevelMeter.h"
#include "engine/decode/StreamSilences.h"
#include "engine/decode/Waveform.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vivizu {
namespace {

// The blocks of pcm (interleaved) measured in one go.
std::vector<TLevelBlock> BlocksOf(const std::vector<float>& pcm, int channels, int32_t blockSamples)
{
    std::vector<TLevelBlock> blocks;
    TLevelMeter meter(blockSamples, [&](const TLevelBlock& b) { blocks.push_back(b); });
    meter.Begin({44100, channels});
    meter.Samples(pcm);
    meter.Finish();
    return blocks;
}

TEST(StreamedLevels, DecodedFromTheFrameIndexTheyAreThoseOfTheWholeFile)
{
    for (const char* name : {"cbr128-tags.mp3", "vbr48k.mp3", "mono22k.mp3", "layer2-48k.mp3"}) {
        const std::string file = std::string(VIVIZU_FIXTURES) + "/" + name;
        SCOPED_TRACE(file);
        TRoruvoMP3 mp3;
        mp3.LoadFile(file);
        ASSERT_TRUE(mp3.Valid);
        const TFrameIndex& index = mp3.Index();
        std::vector<TLevelBlock> got;
        TDecodeOptions options;
        options.Threads = 3;
        options.ChunkFrames = 8;
        const TDecodeResult r = DecodeLevelBlocks(file, {index, 0, index.Count()}, 441, options,
                                                  [&](const TLevelBlock& b) { got.push_back(b); });
        ASSERT_EQ(r.Status, TDecodeStatus::Done) << r.Message;
        const std::vector<TLevelBlock> expected = BlocksOf(test::DecodeWholeFile(file), r.Format.Channels, 441);
        ASSERT_EQ(got.size(), expected.size());
        EXPECT_EQ(std::memcmp(got.data(), expected.data(), got.size() * sizeof(TLevelBlock)), 0);
    }
}

TEST(StreamedLevels, BlocksArriveInOrderWhileTheDecodeRuns)
{
    test::TSoundFolder folder;
    const std::string file = folder.Mp3("noise", "synth 30 pinknoise gain -10 channels 2 rate 44100", "-b 96");
    TRoruvoMP3 mp3;
    mp3.LoadFile(file);
    const TFrameIndex& index = mp3.Index();
    // The sink stops the decode after its tenth block: had the decode kept
    // the blocks to hand them over at its end, none would have come.
    std::atomic<bool> cancel{false};
    TDecodeOptions options;
    options.Threads = 2;
    options.ChunkFrames = 16;
    options.Cancel = &cancel;
    std::vector<TLevelBlock> got;
    const TDecodeResult r = DecodeLevelBlocks(file, {index, 0, index.Count()}, 576, options, [&](const TLevelBlock& b) {
        if (!got.empty()) {
            EXPECT_EQ(b.Start, got.back().Start + got.back().Count);
        }
        got.push_back(b);
        if (got.size() == 10)
            cancel = true;
    });
    EXPECT_EQ(r.Status, TDecodeStatus::Cancelled);
    const size_t total = index.Count() * 2;
    EXPECT_GE(got.size(), 10u);
    EXPECT_LT(got.size(), total / 4) << "of " << total;
}

TEST(StreamedLevels, StreamSilencesAreThoseOfTheKeptBlocks)
{
    const std::string file = std::string(VIVIZU_FIXTURES) + "/tone-pause-tone.mp3";
    TRoruvoMP3 mp3;
    mp3.LoadFile(file);
    const TFrameIndex& index = mp3.Index();
    const int rate = index.HeaderOf(0).SampleRate();
    const TSilenceOptions options{-48.0, 0.2};
    TDecodeOptions one;
    one.Threads = 1;
    const TLevels kept = DecodeLevels(file, {index, 0, index.Count()}, rate / 100, one);
    ASSERT_EQ(kept.Result.Status, TDecodeStatus::Done);
    const std::vector<TSilence> expected = FindSilences(kept.Blocks, rate, options);
    ASSERT_FALSE(expected.empty());
    TDecodeOptions many;
    many.Threads = 3;
    many.ChunkFrames = 8;
    const TStreamSilences found = FindStreamSilences(file, index, options, many);
    ASSERT_EQ(found.Result.Status, TDecodeStatus::Done);
    ASSERT_EQ(found.Silences.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(found.Silences[i].Start, expected[i].Start);
        EXPECT_EQ(found.Silences[i].End, expected[i].End);
        EXPECT_EQ(found.Silences[i].LevelDb, expected[i].LevelDb);
    }
}

TEST(StreamedLevels, WaveformWriterGivesTheBytesOfTheWholeWaveform)
{
    // Enough pixels for several pieces of output, values over the whole
    // range (held at full scale), both channel layouts and sizes.
    std::vector<TLevelBlock> blocks(40000);
    for (size_t i = 0; i < blocks.size(); ++i) {
        const float v = static_cast<float>(i % 2001) / 1000.0f - 1.0f;
        blocks[i].Channel[0] = {v, -v * 0.5f, 0, 0};
        blocks[i].Channel[1] = {v * 1.5f, v, 0, 0};
        blocks[i].Mix = {-v, v * 0.25f, 0, 0};
    }
    for (const int channels : {1, 2}) {
        for (const int bits : {8, 16}) {
            const TWaveform whole = BuildWaveform(blocks, {44100, 2}, 256, channels, bits);
            for (const bool dat : {false, true}) {
                std::string written;
                size_t pieces = 0;
                TWaveformWriter writer(whole, blocks.size(), dat, [&](std::string_view bytes) {
                    written += bytes;
                    ++pieces;
                });
                for (const TLevelBlock& b : blocks)
                    writer.Add(b);
                EXPECT_TRUE(writer.Finish());
                EXPECT_EQ(written, dat ? WaveformDat(whole) : WaveformJson(whole))
                    << channels << " channels, " << bits << " bits, " << (dat ? "dat" : "json");
                EXPECT_GT(pieces, 1u);
            }
        }
    }
    // A count other than the one announced is reported.
    TWaveformWriter shortOne(BuildWaveform({}, {44100, 2}, 256, 1, 16), 3, true, [](std::string_view) {});
    shortOne.Add(blocks[0]);
    EXPECT_FALSE(shortOne.Finish());
}

} // namespace
} // namespace vivizu
