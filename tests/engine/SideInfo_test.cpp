// The Layer III side information reader on frames whose side information is
// built here field by field: every field of every granule and channel read
// back, for MPEG-1 stereo with a CRC and MPEG-2 mono, with and without
// window switching; main_data_begin from the first bytes alone; global_gain
// written without touching a bit around it.
#include "engine/frames/SideInfo.h"

#include <gtest/gtest.h>

#include <vector>

namespace vivizu {
namespace {

// Appends fields most significant bit first.
class TBitWriter {
public:
    void Put(int value, int bits)
    {
        for (int b = bits - 1; b >= 0; --b) {
            if (FBit % 8 == 0)
                FBytes.push_back(0);
            if ((value >> b) & 1)
                FBytes.back() |= static_cast<uint8_t>(0x80 >> (FBit % 8));
            ++FBit;
        }
    }
    std::vector<uint8_t> Bytes() const { return FBytes; }

private:
    std::vector<uint8_t> FBytes;
    int FBit = 0;
};

void PutGranule(TBitWriter& w, const TGranuleChannelInfo& g, bool mpeg1)
{
    w.Put(g.Part23Length, 12);
    w.Put(g.BigValues, 9);
    w.Put(g.GlobalGain, 8);
    w.Put(g.ScalefacCompress, mpeg1 ? 4 : 9);
    w.Put(g.WindowSwitching, 1);
    if (g.WindowSwitching) {
        w.Put(g.BlockType, 2);
        w.Put(g.MixedBlock, 1);
        w.Put(g.TableSelect[0], 5);
        w.Put(g.TableSelect[1], 5);
        for (const int gain : g.SubblockGain)
            w.Put(gain, 3);
    } else {
        for (const int table : g.TableSelect)
            w.Put(table, 5);
        w.Put(g.Region0Count, 4);
        w.Put(g.Region1Count, 3);
    }
    if (mpeg1)
        w.Put(g.Preflag, 1);
    w.Put(g.ScalefacScale, 1);
    w.Put(g.Count1TableSelect, 1);
}

void ExpectSame(const TGranuleChannelInfo& a, const TGranuleChannelInfo& b)
{
    EXPECT_EQ(a.Part23Length, b.Part23Length);
    EXPECT_EQ(a.BigValues, b.BigValues);
    EXPECT_EQ(a.GlobalGain, b.GlobalGain);
    EXPECT_EQ(a.ScalefacCompress, b.ScalefacCompress);
    EXPECT_EQ(a.WindowSwitching, b.WindowSwitching);
    EXPECT_EQ(a.BlockType, b.BlockType);
    EXPECT_EQ(a.MixedBlock, b.MixedBlock);
    EXPECT_EQ(a.TableSelect, b.TableSelect);
    EXPECT_EQ(a.SubblockGain, b.SubblockGain);
    EXPECT_EQ(a.Region0Count, b.Region0Count);
    EXPECT_EQ(a.Region1Count, b.Region1Count);
    EXPECT_EQ(a.Preflag, b.Preflag);
    EXPECT_EQ(a.ScalefacScale, b.ScalefacScale);
    EXPECT_EQ(a.Count1TableSelect, b.Count1TableSelect);
}

TGranuleChannelInfo Long(int seed)
{
    TGranuleChannelInfo g;
    g.Part23Length = 4095 - seed;
    g.BigValues = 288 - seed;
    g.GlobalGain = 140 + seed;
    g.ScalefacCompress = seed % 16;
    g.TableSelect = {31 - seed, 1 + seed, 17};
    g.Region0Count = 15 - seed;
    g.Region1Count = seed % 8;
    g.ScalefacScale = seed % 2 == 1;
    g.Count1TableSelect = seed % 2 == 0;
    return g;
}

TGranuleChannelInfo Switched(int seed)
{
    TGranuleChannelInfo g;
    g.Part23Length = 100 + seed;
    g.BigValues = 7 * seed;
    g.GlobalGain = 255 - seed;
    g.ScalefacCompress = 9 + seed;
    g.WindowSwitching = true;
    g.BlockType = 2;
    g.MixedBlock = seed % 2 == 1;
    g.TableSelect = {5 + seed, 24, 0};
    g.SubblockGain = {7, seed % 8, 1};
    g.Preflag = true;
    g.Count1TableSelect = true;
    return g;
}

TEST(SideInfo, EveryFieldOfAHandBuiltMpeg1StereoFrameWithCrc)
{
    const TMpegHeader header(0xFFFA9064u); // MPEG-1 Layer III, CRC, 128 kbit/s, 44.1 kHz, stereo
    ASSERT_TRUE(header.HasCrc());
    const TGranuleChannelInfo granules[2][2] = {{Long(1), Switched(2)}, {Switched(3), Long(4)}};
    TBitWriter w;
    w.Put(0x1A5, 9); // main_data_begin
    w.Put(5, 3);     // private bits
    w.Put(0x9, 4);   // scfsi, left
    w.Put(0x6, 4);   // right
    for (const auto& gr : granules)
        for (const TGranuleChannelInfo& g : gr)
            PutGranule(w, g, true);
    std::vector<uint8_t> frame{0xFF, 0xFA, 0x90, 0x64, 0xAB, 0xCD};
    const std::vector<uint8_t> side = w.Bytes();
    ASSERT_EQ(side.size(), static_cast<size_t>(header.SideInfoSize()));
    frame.insert(frame.end(), side.begin(), side.end());
    frame.resize(static_cast<size_t>(header.FrameLength()), 0x55);

    const TSideInfo info = ReadSideInfo(frame, header);
    ASSERT_TRUE(info.Complete);
    EXPECT_EQ(info.MainDataBegin, 0x1A5);
    EXPECT_EQ(info.PrivateBits, 5);
    EXPECT_EQ(info.Scfsi, (std::array<int, 2>{0x9, 0x6}));
    for (size_t gr = 0; gr < 2; ++gr)
        for (size_t ch = 0; ch < 2; ++ch) {
            SCOPED_TRACE(::testing::Message() << "granule " << gr << " channel " << ch);
            ExpectSame(info.Granule[gr][ch], granules[gr][ch]);
        }

    // global_gain written in place: the field changes and no other bit.
    std::vector<uint8_t> written = frame;
    WriteGlobalGain(written, header, 1, 0, 0x5A);
    TSideInfo again = ReadSideInfo(written, header);
    EXPECT_EQ(again.Granule[1][0].GlobalGain, 0x5A);
    again.Granule[1][0].GlobalGain = granules[1][0].GlobalGain;
    for (size_t gr = 0; gr < 2; ++gr)
        for (size_t ch = 0; ch < 2; ++ch)
            ExpectSame(again.Granule[gr][ch], granules[gr][ch]);
    WriteGlobalGain(written, header, 1, 0, granules[1][0].GlobalGain);
    EXPECT_EQ(written, frame);
}

TEST(SideInfo, EveryFieldOfAHandBuiltMpeg2MonoFrame)
{
    const TMpegHeader header(0xFFF380C4u); // MPEG-2 Layer III, 64 kbit/s, 22.05 kHz, mono
    ASSERT_FALSE(header.IsMpeg1());
    ASSERT_TRUE(header.Mono());
    TGranuleChannelInfo g = Switched(5);
    g.ScalefacCompress = 0x1F3; // nine bits
    g.Preflag = false;          // not in MPEG-2
    TBitWriter w;
    w.Put(0xC3, 8); // main_data_begin
    w.Put(1, 1);    // private bit
    PutGranule(w, g, false);
    std::vector<uint8_t> frame{0xFF, 0xF3, 0x80, 0xC4};
    const std::vector<uint8_t> side = w.Bytes();
    ASSERT_EQ(side.size(), static_cast<size_t>(header.SideInfoSize()));
    frame.insert(frame.end(), side.begin(), side.end());

    const TSideInfo info = ReadSideInfo(frame, header);
    ASSERT_TRUE(info.Complete);
    EXPECT_EQ(info.MainDataBegin, 0xC3);
    EXPECT_EQ(info.PrivateBits, 1);
    ExpectSame(info.Granule[0][0], g);
    EXPECT_EQ(GlobalGainBit(header, 0, 0), 8 + 1 + 12 + 9);
}

TEST(SideInfo, FirstBytesGiveMainDataBeginOnly)
{
    const TMpegHeader header(0xFFFB9064u);
    // Cut short inside the side information: main_data_begin, nothing else.
    const std::vector<uint8_t> start{0xFF, 0xFB, 0x90, 0x64, 0xFF, 0x80, 0xFF, 0xFF};
    const TSideInfo partial = ReadSideInfo(start, header);
    EXPECT_FALSE(partial.Complete);
    EXPECT_EQ(partial.MainDataBegin, 511);
    EXPECT_EQ(partial.Granule[0][0].GlobalGain, 0);
    // Too short for main_data_begin's bytes.
    EXPECT_EQ(ReadSideInfo(std::span(start).first(5), header).MainDataBegin, 0);
}

} // namespace
} // namespace vivizu
