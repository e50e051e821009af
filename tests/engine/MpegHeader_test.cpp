// Frame header fields and what follows from them, ID3v2 sizes and the genre
// list.
#include "engine/frames/MpegHeader.h"
#include "engine/tags/Id3v1Tag.h"
#include "engine/tags/Id3v2Size.h"

#include <gtest/gtest.h>

using namespace vivizu;

namespace {

struct DecodeCase {
    uint8_t b[4];
    double version;
    int layer, bitrate, sampleRate, padding;
    bool mono;
    int samples, length;
    double durationMs;
};

class DecodeExamples : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeExamples, GivesTableValuesLengthAndDuration)
{
    const DecodeCase& c = GetParam();
    const TMpegHeader h = TMpegHeader::At(c.b);
    EXPECT_TRUE(h.InTables());
    EXPECT_EQ(VersionNumber(h.Version()), c.version);
    EXPECT_EQ(h.Layer(), c.layer);
    EXPECT_EQ(h.Bitrate(), c.bitrate);
    EXPECT_EQ(h.SampleRate(), c.sampleRate);
    EXPECT_EQ(h.Padding(), c.padding != 0);
    EXPECT_EQ(h.Mono(), c.mono);
    EXPECT_EQ(h.SamplesPerFrame(), c.samples);
    EXPECT_EQ(h.FrameLength(), c.length);
    EXPECT_DOUBLE_EQ(h.DurationMs(), c.durationMs);
    const auto bytes = h.Bytes();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), c.b));
}

INSTANTIATE_TEST_SUITE_P(
    Headers, DecodeExamples,
    ::testing::Values(
        // MPEG 1 Layer 3 128 kbit/s 44100 Hz, without and with padding
        DecodeCase{{0xFF, 0xFB, 0x90, 0x64}, 1.0, 3, 128, 44100, 0, false, 1152, 417, 1152000.0 / 44100},
        DecodeCase{{0xFF, 0xFB, 0x92, 0x64}, 1.0, 3, 128, 44100, 1, false, 1152, 418, 1152000.0 / 44100},
        // 48000 Hz: whole 24 ms frames
        DecodeCase{{0xFF, 0xFB, 0x94, 0x40}, 1.0, 3, 128, 48000, 0, false, 1152, 384, 24.0},
        // MPEG 2 and 2.5 Layer 3: 576 samples, mono
        DecodeCase{{0xFF, 0xF3, 0x88, 0xC4}, 2.0, 3, 64, 16000, 0, true, 576, 288, 36.0},
        DecodeCase{{0xFF, 0xE3, 0x48, 0xC4}, 2.5, 3, 32, 8000, 0, true, 576, 288, 72.0},
        // Layer 1 counts 4-byte slots; padding adds one slot
        DecodeCase{{0xFF, 0xFF, 0x10, 0x00}, 1.0, 1, 32, 44100, 0, false, 384, 32, 384000.0 / 44100},
        DecodeCase{{0xFF, 0xFF, 0x12, 0x00}, 1.0, 1, 32, 44100, 1, false, 384, 36, 384000.0 / 44100},
        // MPEG 1 Layer 2 192 kbit/s 48000 Hz (twolame's frames)
        DecodeCase{{0xFF, 0xFD, 0xA4, 0x04}, 1.0, 2, 192, 48000, 0, false, 1152, 576, 24.0},
        // MPEG 2 Layer 2 uses the lower-rate table and 1152 samples
        DecodeCase{{0xFF, 0xF5, 0xE0, 0x00}, 2.0, 2, 160, 22050, 0, false, 1152, 1044, 1152000.0 / 22050}));

TEST(MpegHeader, OnlyChannelModeThreeIsMono)
{
    for (uint8_t mode = 0; mode < 4; ++mode) {
        const uint8_t b[4] = {0xFF, 0xFB, 0x90, static_cast<uint8_t>(mode << 6)};
        EXPECT_EQ(TMpegHeader::At(b).Mono(), mode == 3) << int(mode);
    }
}

// Codes with no table entry are not frames: nothing divides by a zero sample
// rate and no walk is asked to step by a zero length.
TEST(MpegHeader, CodesWithoutTableEntryAreNoFrame)
{
    const uint8_t reservedVersion[4] = {0xFF, 0xEB, 0x90, 0x64};
    const uint8_t reservedLayer[4] = {0xFF, 0xF9, 0x90, 0x64};
    const uint8_t freeFormat[4] = {0xFF, 0xFB, 0x00, 0x64};
    const uint8_t badBitrate[4] = {0xFF, 0xFB, 0xF0, 0x64};
    const uint8_t badRate[4] = {0xFF, 0xFB, 0x9C, 0x64};
    for (const uint8_t* b : {reservedVersion, reservedLayer, freeFormat, badBitrate, badRate}) {
        const TMpegHeader h = TMpegHeader::At(b);
        EXPECT_FALSE(h.InTables());
        EXPECT_EQ(h.FrameLength(), 0);
        EXPECT_EQ(h.DurationMs(), 0.0);
    }
    EXPECT_EQ(TMpegHeader::At(reservedVersion).Version(), TMpegVersion::Reserved);
    EXPECT_EQ(TMpegHeader::At(reservedLayer).Layer(), 4);
}

TEST(MpegHeader, EveryTableEntryGivesAFrameLongerThanItsHeader)
{
    int frames = 0;
    for (int b1 = 0xE0; b1 <= 0xFF; ++b1)
        for (int b2 = 0; b2 < 256; ++b2) {
            const uint8_t b[4] = {0xFF, static_cast<uint8_t>(b1), static_cast<uint8_t>(b2), 0};
            const TMpegHeader h = TMpegHeader::At(b);
            if (!h.InTables())
                continue;
            ++frames;
            EXPECT_GT(h.FrameLength(), 4);
            EXPECT_GT(h.DurationMs(), 0.0);
        }
    // 3 versions x 3 layers x 14 bitrates x 3 rates x 2 paddings x 2 protection bits
    EXPECT_EQ(frames, 3 * 3 * 14 * 3 * 2 * 2 * 2);
}

// The side information's size and where the main data begins follow from
// the version, the channel mode and the CRC bit; changed copies touch one
// field only.
TEST(MpegHeader, SideInformationAndFieldChanges)
{
    struct Case {
        uint32_t bits;
        int side, mainData, granules;
    };
    for (const Case c : {Case{0xFFFB9064, 32, 36, 2}, Case{0xFFFA9064, 32, 38, 2}, Case{0xFFFB90C4, 17, 21, 2},
                         Case{0xFFF388C4, 9, 13, 1}, Case{0xFFF38844, 17, 21, 1}, Case{0xFFE348C4, 9, 13, 1}}) {
        const TMpegHeader h(c.bits);
        EXPECT_EQ(h.SideInfoSize(), c.side) << std::hex << c.bits;
        EXPECT_EQ(h.MainDataOffset(), c.mainData) << std::hex << c.bits;
        EXPECT_EQ(h.Granules(), c.granules) << std::hex << c.bits;
    }
    const TMpegHeader h(0xFFFA9264); // CRC, padding
    EXPECT_EQ(h.WithoutCrc().Bits(), 0xFFFB9264u);
    EXPECT_EQ(h.WithPadding(false).Bits(), 0xFFFA9064u);
    EXPECT_EQ(h.WithBitrateIndex(14).Bits(), 0xFFFAE264u);
    EXPECT_EQ(h.WithModeExtension(3).Bits(), 0xFFFA9274u);
    EXPECT_TRUE(h.SameFormat(h.WithBitrateIndex(1).WithoutCrc().WithModeExtension(2)));
    EXPECT_FALSE(h.SameFormat(TMpegHeader(0xFFFA9664))); // 48 kHz
    EXPECT_FALSE(h.SameFormat(TMpegHeader(0xFFF29264))); // MPEG 2
}

TEST(ID3v2TagSize, SevenBitsPerByteHighBitsMasked)
{
    const uint8_t a[4] = {0x00, 0x00, 0x02, 0x01};
    EXPECT_EQ(ID3v2TagSize(a), 257);
    const uint8_t b[4] = {0x80, 0x80, 0x80, 0x81};
    EXPECT_EQ(ID3v2TagSize(b), 1);
    const uint8_t c[4] = {0x00, 0x00, 0x07, 0x76};
    EXPECT_EQ(ID3v2TagSize(c), 1014);
    const uint8_t d[4] = {0x7F, 0x7F, 0x7F, 0x7F};
    EXPECT_EQ(ID3v2TagSize(d), (1 << 28) - 1);
}

TEST(ID3v1Genres, ListInTagOrder)
{
    EXPECT_EQ(ID3v1Genres.size(), 148u);
    EXPECT_STREQ(ID3v1Genres[0], "Blues");
    EXPECT_STREQ(ID3v1Genres[17], "Rock");
    EXPECT_STREQ(ID3v1Genres[67], "Psychadelic");
    EXPECT_STREQ(ID3v1Genres[79], "Hard Rock");
    EXPECT_STREQ(ID3v1Genres[80], "Folk");
    EXPECT_STREQ(ID3v1Genres[136], "Christian Gangsta Rap");
    EXPECT_STREQ(ID3v1Genres[147], "Synthpop");
}

} // namespace
