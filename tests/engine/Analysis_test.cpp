// LoadFile on byte-built files and on the real fixtures.
#include "FakeDevice.h"
#include "Mp3Bytes.h"
#include "engine/RoruvoMp3.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class Analysis : public ::testing::Test {
protected:
    TRoruvoMP3& Load(const Bytes& bytes)
    {
        Mp3.LoadFile(Dir.Write("in.mp3", bytes));
        return Mp3;
    }

    TempDir Dir;
    int Closes = 0;
    TRoruvoMP3 Mp3{"", std::make_unique<FakeDevice>(Closes)};
};

TEST_F(Analysis, Id3v2TagAndZeroBytesBeforeTheFirstFrame)
{
    Bytes tag = Id3v2(1014);
    const uint8_t sizeBytes[4] = {0x00, 0x00, 0x07, 0x76};
    std::memcpy(tag.data() + 6, sizeBytes, 4);
    const TRoruvoMP3& m = Load(tag + Bytes(100, 0) + Frames(H44, 3));
    EXPECT_TRUE(m.Valid);
    EXPECT_EQ(m.FileSize, 1124 + 3 * 417);
    EXPECT_EQ(m.Info.ID3v2Size, 1024);
    EXPECT_EQ(m.Info.LeadingZeros, 100);
    EXPECT_EQ(m.Info.Version, TMpegVersion::Mpeg1);
    EXPECT_EQ(m.Info.Layer, 3);
    EXPECT_EQ(m.Info.Bitrate, 128);
    EXPECT_EQ(m.Info.SampleRate, 44100);
    EXPECT_FALSE(m.Info.Mono);
    EXPECT_EQ(m.Info.ID3v1Size, 0);
    EXPECT_EQ(m.Info.APESize, 0);
    EXPECT_EQ(m.Info.LengthMs, 78); // 3 x 26.12 ms
    EXPECT_EQ(Closes, 1);           // a preview of an earlier file has ended
}

// A version 2.4 tag with the footer flag is followed by a 10-byte footer;
// several tags in a row (and zero bytes between them) all come before the
// first frame.
TEST_F(Analysis, FooterAndSeveralLeadingTagsCountIntoTheTagSize)
{
    Bytes v24 = Id3v2(100);
    v24[3] = 4;
    v24[5] = 0x10;
    Bytes footer = Slice(v24, 0, 10);
    std::memcpy(footer.data(), "3DI", 3);
    Bytes v23Flag = Id3v2(100); // the flag means nothing before version 2.4
    v23Flag[5] = 0x10;
    const struct {
        const char* what;
        Bytes tags;
        int32_t size;
        int32_t zeros;
    } cases[] = {
        {"footer", v24 + footer, 120, 0},
        {"footer and zeros", v24 + footer + Bytes(5, 0), 120, 5},
        {"no footer before 2.4", v23Flag, 110, 0},
        {"two tags", Id3v2(50) + Id3v2(70), 140, 0},
        {"three tags with zeros", Id3v2(50) + Bytes(6, 0) + v24 + footer + Bytes(3, 0) + Id3v2(0) + Bytes(2, 0),
         60 + 6 + 120 + 3 + 10, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TRoruvoMP3& m = Load(c.tags + Frames(H44, 3));
        EXPECT_TRUE(m.Valid);
        EXPECT_EQ(m.Info.ID3v2Size, c.size);
        EXPECT_EQ(m.Info.LeadingZeros, c.zeros);
        EXPECT_EQ(m.Info.LengthMs, 78);
    }
    // The cut starts with the first frame after them.
    ASSERT_TRUE(Mp3.SaveSegment(0, 1000, Dir / "out.mp3", TID3v1Tag{}));
    EXPECT_EQ(ReadAll(Dir / "out.mp3"), Frames(H44, 3));
}

TEST_F(Analysis, FrameAtTheStart)
{
    const TRoruvoMP3& m = Load(Frames(H16Mono, 2));
    EXPECT_TRUE(m.Valid);
    EXPECT_EQ(m.Info.ID3v2Size, 0);
    EXPECT_EQ(m.Info.LeadingZeros, 0);
    EXPECT_EQ(m.Info.Version, TMpegVersion::Mpeg2);
    EXPECT_TRUE(m.Info.Mono);
    EXPECT_EQ(m.Info.LengthMs, 72);
}

TEST_F(Analysis, NoFrameWhereTheAudioMustBegin)
{
    const uint8_t reservedRate[4] = {0xFF, 0xFB, 0x9C, 0x64};
    const struct {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"tag reaching past the end", Slice(Id3v2(5000), 0, 200) + Frames(H44, 1)},
        {"tag followed only by zeros", Id3v2(20) + Bytes(500, 0)},
        {"tag and nothing else", Id3v2(20)},
        {"wave file", Bytes{'R', 'I', 'F', 'F', 0x24, 0, 0, 0, 'W', 'A', 'V', 'E'} + Frames(H44, 2)},
        {"junk before the first frame", Bytes{0x00} + Frames(H44, 2)},
        {"first header without table entry", Bytes(reservedRate, reservedRate + 4) + Frames(H44, 2)},
        {"empty file", Bytes{}},
        {"three bytes", Bytes{'I', 'D', '3'}},
        {"header cut short", Bytes{0xFF, 0xFB, 0x90}},
        {"header cut short after a tag", Id3v2(20) + Bytes{0xFF, 0xFB, 0x90}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TRoruvoMP3& m = Load(c.bytes);
        EXPECT_FALSE(m.Valid);
        EXPECT_EQ(m.FileSize, static_cast<int64_t>(c.bytes.size()));
        EXPECT_EQ(m.Info.Bitrate, 0);
        EXPECT_EQ(m.Info.LengthMs, 0);
    }
    EXPECT_EQ(Closes, 0); // the device is not touched
}

TEST_F(Analysis, MissingFileRaisesTheSystemMessage)
{
    Load(Frames(H44, 2));
    try {
        Mp3.LoadFile(Dir / "missing.mp3");
        FAIL() << "no error raised";
    } catch (const std::system_error& e) {
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos);
    }
    EXPECT_FALSE(Mp3.Valid);
    EXPECT_EQ(Mp3.FileName, Dir / "missing.mp3");
}

TEST_F(Analysis, Id3v1TagWithAndWithoutTrack)
{
    TRoruvoMP3& m = Load(Frames(H44, 2) + Id3v1("Song", 0, 7, 17));
    EXPECT_EQ(m.Info.ID3v1Size, 128);
    EXPECT_EQ(std::string(m.Info.Tag.Title, 4), "Song");
    EXPECT_EQ(m.Info.Tag.Track, 7);
    EXPECT_EQ(m.Info.Tag.Comment[28], 0);
    EXPECT_EQ(m.Info.Tag.Comment[29], 0);
    EXPECT_EQ(m.Info.Tag.Genre, 17);

    Load(Frames(H44, 2) + Id3v1("Song", 'a', 'b', 200));
    EXPECT_EQ(m.Info.Tag.Track, 0);
    EXPECT_EQ(m.Info.Tag.Comment[28], 'a');
    EXPECT_EQ(m.Info.Tag.Comment[29], 'b');
    EXPECT_EQ(m.Info.Tag.Genre, 200);

    Bytes lower = Id3v1("Song", 0, 7, 17);
    std::memcpy(lower.data(), "tag", 3);
    Load(Frames(H44, 2) + lower);
    EXPECT_EQ(m.Info.ID3v1Size, 0);
}

TEST_F(Analysis, ApeFooterOnlyWhereItBelongs)
{
    EXPECT_EQ(Load(Frames(H44, 2) + ApeFooter() + Id3v1("", 0, 0, 0)).Info.APESize, 32);
    EXPECT_EQ(Load(Frames(H44, 2) + ApeFooter()).Info.APESize, 32);
    EXPECT_EQ(Load(Frames(H44, 2) + ApeFooter() + Bytes(4, 0)).Info.APESize, 0);
    EXPECT_EQ(Load(Frames(H44, 2) + ApeFooter() + Bytes(128, 0)).Info.APESize, 0);
    // Without an ID3v1 tag the footer must be last.
    Bytes noTag = Id3v1("", 0, 0, 0);
    noTag[0] = 'X';
    EXPECT_EQ(Load(Frames(H44, 2) + ApeFooter() + noTag).Info.APESize, 0);
}

// Too short for a tag or a footer: none is found, and nothing is read from
// outside the file (the marker bytes here sit where a read from the current
// position would find them).
TEST_F(Analysis, ShortFilesHaveNoTrailingTags)
{
    Bytes tiny = Bytes(H44.begin(), H44.end()) + Bytes{'T', 'A', 'G'} + Bytes(93, 0);
    TRoruvoMP3& m = Load(tiny);
    EXPECT_TRUE(m.Valid);
    EXPECT_EQ(m.Info.ID3v1Size, 0);
    EXPECT_EQ(m.Info.APESize, 0);

    tiny = Bytes(H44.begin(), H44.end()) + Bytes{'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X'} + Bytes(8, 0);
    EXPECT_EQ(Load(tiny).Info.APESize, 0);

    // 140 bytes: room for an ID3v1 tag, not for a footer before it.
    tiny = Bytes(H44.begin(), H44.end()) + Bytes(8, 0) + Id3v1("", 0, 0, 0);
    Load(tiny);
    EXPECT_EQ(m.Info.ID3v1Size, 128);
    EXPECT_EQ(m.Info.APESize, 0);
    EXPECT_EQ(m.Info.LengthMs, 0); // the one frame does not fit in the file
}

// The length is what a cut from the first frame would count: header frames,
// embedded tags and a last frame cut short by the end of the file add nothing.
TEST_F(Analysis, LengthCountsWholeAudioFrames)
{
    EXPECT_EQ(Load(Frames(H48, 10)).Info.LengthMs, 240);
    EXPECT_EQ(Load(HeaderFrame(H48, 36, "Xing") + Frames(H48, 10)).Info.LengthMs, 240);
    EXPECT_EQ(Load(Frames(H48, 10) + Slice(Frames(H48, 1), 0, 200)).Info.LengthMs, 240);
    EXPECT_EQ(Load(Frames(H48, 5) + Id3v2(50) + Frames(H48, 5) + Id3v1("", 0, 0, 0)).Info.LengthMs, 240);
    // 7 x 26.122 = 182.86: truncated
    EXPECT_EQ(Load(Frames(H44, 7)).Info.LengthMs, 182);
}

TEST(Engine, DestructorClosesTheDevice)
{
    int closes = 0;
    {
        TRoruvoMP3 m("", std::make_unique<FakeDevice>(closes));
        EXPECT_TRUE(m.FileName.empty());
        EXPECT_FALSE(m.Valid);
    }
    EXPECT_EQ(closes, 1);
}

TEST(Engine, ConstructorAnalysesAnExistingFileOnly)
{
    TempDir dir;
    TRoruvoMP3 missing(dir / "none.mp3");
    EXPECT_TRUE(missing.FileName.empty());
    TRoruvoMP3 present(dir.Write("a.mp3", Frames(H44, 2)));
    EXPECT_TRUE(present.Valid);
}

struct FixtureCase {
    const char* name;
    int64_t fileSize;
    double version;
    int layer, bitrate, sampleRate;
    bool mono;
    int id3v2, leadingZeros, id3v1, ape;
    int64_t lengthMs;
};

class RealFiles : public ::testing::TestWithParam<FixtureCase> {};

// Sizes and offsets checked against ffprobe's packet list; lengths are the
// audio frames ffprobe counts times their duration, truncated.
TEST_P(RealFiles, Analysis)
{
    const FixtureCase& c = GetParam();
    TRoruvoMP3 m(std::string(VIVIZU_FIXTURES) + "/" + c.name);
    ASSERT_TRUE(m.Valid);
    EXPECT_EQ(m.FileSize, c.fileSize);
    EXPECT_EQ(VersionNumber(m.Info.Version), c.version);
    EXPECT_EQ(m.Info.Layer, c.layer);
    EXPECT_EQ(m.Info.Bitrate, c.bitrate);
    EXPECT_EQ(m.Info.SampleRate, c.sampleRate);
    EXPECT_EQ(m.Info.Mono, c.mono);
    EXPECT_EQ(m.Info.ID3v2Size, c.id3v2);
    EXPECT_EQ(m.Info.LeadingZeros, c.leadingZeros);
    EXPECT_EQ(m.Info.ID3v1Size, c.id3v1);
    EXPECT_EQ(m.Info.APESize, c.ape);
    EXPECT_EQ(m.Info.LengthMs, c.lengthMs);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RealFiles,
    ::testing::Values(
        // 59 frames of 26.12 ms after LAME's "Info" frame
        FixtureCase{"cbr128-tags.mp3", 25468, 1.0, 3, 128, 44100, false, 264, 0, 128, 0, 1541},
        // ffmpeg: mono MPEG 1, "Info" at 21, APE tag before the ID3v1 tag
        FixtureCase{"ffmpeg-ape.mp3", 12794, 1.0, 3, 64, 44100, true, 78, 0, 128, 32, 1541},
        // 64 frames of 24 ms after a "Xing" frame whose own bitrate is 128
        FixtureCase{"vbr48k.mp3", 9600, 1.0, 3, 128, 48000, false, 0, 0, 0, 0, 1536},
        // 60 frames of 576 samples at 22050 Hz after "Info" at 13
        FixtureCase{"mono22k.mp3", 12746, 2.0, 3, 64, 22050, true, 0, 0, 0, 0, 1567},
        // 23 frames of 72 ms
        FixtureCase{"mono8k.mp3", 6912, 2.5, 3, 32, 8000, true, 0, 0, 0, 0, 1656},
        FixtureCase{"leading-zeros.mp3", 7037, 2.5, 3, 32, 8000, true, 25, 100, 0, 0, 1656},
        // 63 Layer 2 frames of 24 ms
        FixtureCase{"layer2-48k.mp3", 36288, 1.0, 2, 192, 48000, false, 0, 0, 0, 0, 1512}),
    [](const ::testing::TestParamInfo<FixtureCase>& param) {
        std::string name = param.param.name;
        name = name.substr(0, name.find('.'));
        for (char& ch : name)
            if (ch == '-')
                ch = '_';
        return name;
    });

TEST(RealFiles, Id3v1Tags)
{
    TRoruvoMP3 lame(std::string(VIVIZU_FIXTURES) + "/cbr128-tags.mp3");
    EXPECT_STREQ(lame.Info.Tag.Title, "Cut Title");
    EXPECT_STREQ(lame.Info.Tag.Artist, "Some Artist");
    EXPECT_EQ(std::string(lame.Info.Tag.Year, 4), "2024");
    EXPECT_EQ(lame.Info.Tag.Track, 7);
    EXPECT_EQ(lame.Info.Tag.Genre, 17);

    TRoruvoMP3 ff(std::string(VIVIZU_FIXTURES) + "/ffmpeg-ape.mp3");
    EXPECT_STREQ(ff.Info.Tag.Title, "FF Title");
    EXPECT_EQ(ff.Info.Tag.Track, 3);
    EXPECT_EQ(ff.Info.Tag.Genre, 255);
}

} // namespace
