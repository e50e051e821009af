// The lossless gain on frames built with known side information: in every
// layout (MPEG 1, 2 and 2.5; mono, stereo, joint and dual channel; with and
// without CRC; both window switching forms) only the global_gain fields
// change, held at 0 and 255; and the gain plan's fade staircase.
#include "Mp3Bytes.h"
#include "engine/cut/GainTransform.h"

#include <gtest/gtest.h>

#include <random>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class TBitWriter {
public:
    explicit TBitWriter(std::span<uint8_t> bytes) : FBytes(bytes) {}
    void Put(uint32_t value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i, ++FAt)
            if ((value >> i) & 1)
                FBytes[FAt / 8] |= static_cast<uint8_t>(0x80 >> (FAt % 8));
    }
    size_t At() const { return FAt; }

private:
    std::span<uint8_t> FBytes;
    size_t FAt = 0;
};

class TBitReader {
public:
    explicit TBitReader(std::span<const uint8_t> bytes) : FBytes(bytes) {}
    uint32_t Get(int bits)
    {
        uint32_t value = 0;
        for (int i = 0; i < bits; ++i, ++FAt)
            value = (value << 1) | ((FBytes[FAt / 8] >> (7 - FAt % 8)) & 1);
        return value;
    }

private:
    std::span<const uint8_t> FBytes;
    size_t FAt = 0;
};

// The side information as its list of fields in coded order: widths, and
// which of them are global_gain (by granule and channel). Written out from
// the field list of the standard layout, independently of the engine.
struct TSideFields {
    std::vector<int> Widths;
    std::vector<std::pair<size_t, int>> Gains; // field index, granule * 2 + channel
};

TSideFields FieldsOf(TMpegHeader h, const std::vector<bool>& switching)
{
    TSideFields f;
    const bool m1 = h.IsMpeg1();
    const int nch = h.Channels();
    f.Widths.push_back(m1 ? 9 : 8);                                   // main_data_begin
    f.Widths.push_back(m1 ? (nch == 1 ? 5 : 3) : (nch == 1 ? 1 : 2)); // private bits
    if (m1)
        for (int ch = 0; ch < nch; ++ch)
            f.Widths.push_back(4); // scfsi
    size_t part = 0;
    for (int gr = 0; gr < h.Granules(); ++gr)
        for (int ch = 0; ch < nch; ++ch, ++part) {
            f.Widths.insert(f.Widths.end(), {12, 9});
            f.Gains.emplace_back(f.Widths.size(), gr * 2 + ch);
            f.Widths.insert(f.Widths.end(), {8, m1 ? 4 : 9, 1});
            if (switching[part])
                f.Widths.insert(f.Widths.end(), {2, 1, 5, 5, 3, 3, 3}); // block type, mixed, tables, subblock gains
            else
                f.Widths.insert(f.Widths.end(), {5, 5, 5, 4, 3}); // tables, region counts
            if (m1)
                f.Widths.push_back(1); // preflag
            f.Widths.insert(f.Widths.end(), {1, 1});
        }
    return f;
}

uint32_t HeaderBits(TMpegVersion version, bool crc, TChannelMode mode)
{
    const uint32_t bitrate = version == TMpegVersion::Mpeg1 ? 9 : 8; // 128 / 64 kbit/s
    return 0xFFE00000u | (static_cast<uint32_t>(version) << 19) | (1u << 17) | (crc ? 0u : 1u << 16) |
           (bitrate << 12) | (static_cast<uint32_t>(mode) << 6);
}

struct TBuilt {
    Bytes Frame;
    TSideFields Fields;
    std::vector<uint32_t> Values;
};

// A frame of header h whose side information has random fields, the
// global_gains set to gains[granule * 2 + channel], and random main data.
TBuilt BuildFrame(TMpegHeader h, const std::array<int, 4>& gains, std::mt19937& random)
{
    TBuilt b;
    b.Frame.assign(static_cast<size_t>(h.FrameLength()), 0);
    const auto header = h.Bytes();
    std::copy(header.begin(), header.end(), b.Frame.begin());
    std::vector<bool> switching;
    for (int i = 0; i < 4; ++i)
        switching.push_back((random() & 1) != 0);
    b.Fields = FieldsOf(h, switching);
    const size_t side = h.HasCrc() ? 6 : 4;
    TBitWriter writer(std::span<uint8_t>(b.Frame).subspan(side));
    size_t gain = 0;
    for (size_t i = 0; i < b.Fields.Widths.size(); ++i) {
        const int width = b.Fields.Widths[i];
        uint32_t value = static_cast<uint32_t>(random()) & ((1u << width) - 1);
        if (gain < b.Fields.Gains.size() && b.Fields.Gains[gain].first == i)
            value = static_cast<uint32_t>(gains[static_cast<size_t>(b.Fields.Gains[gain++].second)]);
        writer.Put(value, width);
        b.Values.push_back(value);
    }
    EXPECT_EQ(writer.At(), static_cast<size_t>(h.SideInfoSize()) * 8);
    for (size_t i = static_cast<size_t>(h.MainDataOffset()); i < b.Frame.size(); ++i)
        b.Frame[i] = static_cast<uint8_t>(random());
    return b;
}

std::vector<uint32_t> ReadFields(std::span<const uint8_t> frame, TMpegHeader h, const TSideFields& fields)
{
    TBitReader reader(frame.subspan(h.HasCrc() ? 6 : 4));
    std::vector<uint32_t> values;
    for (int width : fields.Widths)
        values.push_back(reader.Get(width));
    return values;
}

// Joins of removed stretches: the granules before each join fade out to a
// silent one next to it, the granules from it on fade in, mirrored; the
// rest keep the constant gain, and without a fade length joins change nothing.
TEST(GainPlan, JoinsFadeOutAndInAroundEachJoin)
{
    TGainPlan plan;
    plan.Constant = 1;
    plan.Joins = {10, 30};
    plan.JoinFade = 3;
    const std::vector<int> expected{1, 1, 1, 1, 1, 1, 1, 1, -29, TGainPlan::Silent,
                                    TGainPlan::Silent, -29, 1, 1, 1};
    for (int64_t g = 0; g < 15; ++g) {
        EXPECT_EQ(plan.StepAt(g), expected[static_cast<size_t>(g)]) << g;
        EXPECT_EQ(plan.StepAt(g + 20), expected[static_cast<size_t>(g)]) << g + 20;
    }
    EXPECT_TRUE(plan.Active());
    TGainPlan plain;
    plain.Joins = {10};
    EXPECT_FALSE(plain.Active());
    EXPECT_EQ(plain.StepAt(9), 0);
    EXPECT_EQ(plain.StepAt(10), 0);
}

} // namespace

// Every layout: the gain fields move by their granule's step, held within
// 0...255 and counted where held, except fields of 0 (silent granules),
// which stay 0 for a raise as for a cut; every other bit of the frame (header,
// other fields, main data) stays; a CRC frame's protection word is renewed.
TEST(GainTransform, ChangesOnlyGlobalGainInEveryLayout)
{
    std::mt19937 random(7);
    const TMpegVersion versions[] = {TMpegVersion::Mpeg1, TMpegVersion::Mpeg2, TMpegVersion::Mpeg25};
    const TChannelMode modes[] = {TChannelMode::Stereo, TChannelMode::JointStereo, TChannelMode::DualChannel,
                                  TChannelMode::Mono};
    for (TMpegVersion version : versions)
        for (TChannelMode mode : modes)
            for (bool crc : {false, true})
                for (int round = 0; round < 8; ++round) {
                    const TMpegHeader h(HeaderBits(version, crc, mode));
                    SCOPED_TRACE(testing::Message() << "header " << std::hex << h.Bits() << std::dec << " round "
                                                    << round);
                    ASSERT_TRUE(h.InTables());
                    // The silent field moves round the granules and channels.
                    std::array<int, 4> gains{250, 3, 140, 0};
                    std::rotate(gains.begin(), gains.begin() + round % 4, gains.end());
                    const std::array<int, 2> steps{round % 2 == 0 ? 9 : -5, round % 2 == 0 ? -7 : 10};
                    TBuilt b = BuildFrame(h, gains, random);
                    for (int gr = 0; gr < h.Granules(); ++gr)
                        for (int ch = 0; ch < h.Channels(); ++ch)
                            ASSERT_EQ(GlobalGain(b.Frame, h, gr, ch), gains[static_cast<size_t>(gr * 2 + ch)]);

                    Bytes changed = b.Frame;
                    TGainReport report;
                    ASSERT_TRUE(ApplyGain(changed, h, steps, report));
                    std::vector<uint32_t> expected = b.Values;
                    int64_t high = 0, low = 0, moved = 0;
                    for (const auto& [field, part] : b.Fields.Gains) {
                        const int before = gains[static_cast<size_t>(part)];
                        if (before == 0)
                            continue; // a silent granule stays silent
                        const int wanted = before + steps[static_cast<size_t>(part / 2)];
                        expected[field] = static_cast<uint32_t>(std::clamp(wanted, 0, 255));
                        high += wanted > 255;
                        low += wanted < 0;
                        ++moved;
                    }
                    EXPECT_EQ(ReadFields(changed, h, b.Fields), expected);
                    EXPECT_EQ(report.Granules, moved);
                    EXPECT_EQ(report.ClampedHigh, high);
                    EXPECT_EQ(report.ClampedLow, low);
                    EXPECT_TRUE(std::equal(changed.begin(), changed.begin() + 4, b.Frame.begin()));
                    const size_t data = static_cast<size_t>(h.MainDataOffset());
                    EXPECT_TRUE(std::equal(changed.begin() + static_cast<ptrdiff_t>(data), changed.end(),
                                           b.Frame.begin() + static_cast<ptrdiff_t>(data)));
                    if (crc) {
                        const uint16_t stored = static_cast<uint16_t>(changed[4] << 8 | changed[5]);
                        EXPECT_EQ(stored, FrameCrc(changed, h));
                        if (moved > 0) { // else all silent: the same word
                            EXPECT_NE(FrameCrc(changed, h), FrameCrc(b.Frame, h));
                        }
                    }
                }
}

// Silence sets every gain field to 0 and is not counted as held; Layer II
// frames and frames too short for their side information are left alone.
TEST(GainTransform, SilenceAndFramesItCannotChange)
{
    std::mt19937 random(11);
    const TMpegHeader h(HeaderBits(TMpegVersion::Mpeg1, false, TChannelMode::JointStereo));
    TBuilt b = BuildFrame(h, {200, 201, 202, 203}, random);
    TGainReport report;
    const std::array<int, 2> steps{TGainPlan::Silent, 1};
    ASSERT_TRUE(ApplyGain(b.Frame, h, steps, report));
    EXPECT_EQ(GlobalGain(b.Frame, h, 0, 0), 0);
    EXPECT_EQ(GlobalGain(b.Frame, h, 0, 1), 0);
    EXPECT_EQ(GlobalGain(b.Frame, h, 1, 0), 203);
    EXPECT_EQ(GlobalGain(b.Frame, h, 1, 1), 204);
    EXPECT_EQ(report.ClampedLow + report.ClampedHigh, 0);

    const TMpegHeader layer2((h.Bits() & ~HeaderMask::Layer) | (2u << 17));
    ASSERT_EQ(layer2.Layer(), 2);
    Bytes frame(static_cast<size_t>(layer2.FrameLength()), 0x5A);
    const Bytes before = frame;
    EXPECT_FALSE(ApplyGain(frame, layer2, steps, report));
    EXPECT_EQ(frame, before);
    Bytes shortFrame = Slice(b.Frame, 0, 20);
    EXPECT_FALSE(ApplyGain(shortFrame, h, steps, report));
    EXPECT_EQ(shortFrame, Slice(b.Frame, 0, 20));
}

// The writer's transform counts granules across frames: two-granule and
// one-granule frames get consecutive steps of the plan.
TEST(GainTransform, StepsFollowGranulesAcrossFrames)
{
    std::mt19937 random(3);
    TGainPlan plan;
    plan.FadeIn = 5; // steps: silent, -45, -30, -15, 0
    TGainReport report;
    const TFrameTransform transform = MakeGainTransform(plan, report);
    const TMpegHeader m1(HeaderBits(TMpegVersion::Mpeg1, true, TChannelMode::Stereo));
    const TMpegHeader m2(HeaderBits(TMpegVersion::Mpeg2, false, TChannelMode::Mono));
    std::vector<int> got;
    size_t n = 0;
    for (TMpegHeader h : {m1, m2, m1}) {
        TBuilt b = BuildFrame(h, {100, 100, 100, 100}, random);
        transform(b.Frame, h, n++);
        for (int gr = 0; gr < h.Granules(); ++gr)
            got.push_back(GlobalGain(b.Frame, h, gr, h.Channels() - 1));
    }
    EXPECT_EQ(got, (std::vector<int>{0, 55, 70, 85, 100}));
}

TEST(GainPlan, StepsForDecibels)
{
    EXPECT_EQ(GainStepsForDb(0), 0);
    EXPECT_EQ(GainStepsForDb(6), 4);
    EXPECT_EQ(GainStepsForDb(-4), -3); // -2.67 steps
    EXPECT_EQ(GainStepsForDb(0.7), 0);
    EXPECT_EQ(GainStepsForDb(0.75), 1);
    EXPECT_EQ(GainStepsForDb(-0.75), -1);
    EXPECT_EQ(GainStepsForDb(-12), -8);
}

// The fades: the first (last) granule silent, then equal steps of dB up to
// the constant gain, monotonic, on the straight line from 90 dB down within
// half a step; overlapping fades take the quieter; with an audible range the
// granules outside it are silent.
TEST(GainPlan, FadeStaircase)
{
    for (int64_t n : {2, 3, 7, 61, 200, 1000}) {
        SCOPED_TRACE(n);
        TGainPlan plan;
        plan.Constant = 2;
        plan.FadeIn = n;
        plan.FadeOut = n;
        plan.AudibleFirst = 4;
        plan.AudibleEnd = 4 + 3 * n;
        EXPECT_EQ(plan.StepAt(0), TGainPlan::Silent);
        EXPECT_EQ(plan.StepAt(4), TGainPlan::Silent);
        EXPECT_EQ(plan.StepAt(4 + n - 1), 2);
        EXPECT_EQ(plan.StepAt(4 + n), 2);
        EXPECT_EQ(plan.StepAt(4 + 3 * n - 1), TGainPlan::Silent);
        EXPECT_EQ(plan.StepAt(4 + 3 * n), TGainPlan::Silent);
        for (int64_t i = 1; i < n; ++i) {
            const double ideal = 2 - 60.0 * static_cast<double>(n - 1 - i) / static_cast<double>(n - 1);
            EXPECT_LE(std::abs(plan.StepAt(4 + i) - ideal), 0.5) << i;
            EXPECT_EQ(plan.StepAt(4 + i), plan.StepAt(4 + 3 * n - 1 - i)) << i; // the fade-out mirrors it
            if (i > 1) {
                EXPECT_GE(plan.StepAt(4 + i), plan.StepAt(4 + i - 1));
            }
        }
    }
    // Fades longer than the piece meet: the quieter of the two.
    TGainPlan both;
    both.FadeIn = 10;
    both.FadeOut = 10;
    both.AudibleEnd = 6;
    EXPECT_EQ(both.StepAt(0), TGainPlan::Silent);
    EXPECT_EQ(both.StepAt(5), TGainPlan::Silent);
    EXPECT_EQ(both.StepAt(2), both.StepAt(3));
    EXPECT_LT(both.StepAt(2), -30);
    // A gain alone leaves every granule at the constant.
    TGainPlan gain;
    gain.Constant = -3;
    gain.AudibleFirst = 10;
    EXPECT_EQ(gain.StepAt(0), -3);
    EXPECT_EQ(gain.StepAt(1000000), -3);
    EXPECT_FALSE(TGainPlan{}.Active());
}
