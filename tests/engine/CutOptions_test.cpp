// SaveSegment with options: the length header frame, the reservoir frame and
// the kept ID3v2 tag, checked on real encoder output and on built bytes.
#include "Mp3Bytes.h"
#include "engine/tags/Id3v2Size.h"
#include "engine/io/FileStream.h"
#include "engine/frames/FrameWalk.h"
#include "engine/cut/LengthHeader.h"
#include "engine/cut/ReservoirFrame.h"
#include "engine/RoruvoMp3.h"

#include <gtest/gtest.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>

#include <cstring>

using namespace vivizu;
using namespace vivizu::test;

namespace {

const std::string Fixtures = VIVIZU_FIXTURES;

uint32_t BE32(const Bytes& b, size_t at)
{
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

TCutOptions With(bool keepId3v2, bool lengthHeader)
{
    TCutOptions options;
    options.KeepID3v2 = keepId3v2;
    options.LengthHeader = lengthHeader;
    return options;
}

class CutOptions : public ::testing::Test {
protected:
    Bytes Cut(const std::string& source, int32_t start, int32_t end, TCutOptions options,
              const TID3v1Tag& tag = TID3v1Tag{})
    {
        Mp3.LoadFile(source);
        EXPECT_TRUE(Mp3.Valid);
        Mp3.CutOptions = std::move(options);
        const TCutResult result = Mp3.CutSegment(start, end, Out, tag, Mp3.CutOptions);
        EXPECT_TRUE(result.Ok()) << result.Message;
        return ReadAll(Out);
    }

    TempDir Dir;
    std::string Out = Dir / "out.mp3";
    TRoruvoMP3 Mp3;
};

// The header frame in front of a cut: its tag, counts, delay and padding,
// and the CRC that seals the encoder extension.
struct THeaderSeen {
    std::string Tag;
    uint32_t Frames = 0, Bytes = 0;
    TEncoderInfo Encoder;
    bool CrcOk = false;
    size_t Length = 0;
};

THeaderSeen ReadHeader(const Bytes& out, size_t at = 0)
{
    THeaderSeen seen;
    const size_t tag = at + static_cast<size_t>(HeaderFrameTagOffset(TMpegHeader::At(&out[at])));
    seen.Tag.assign(out.begin() + static_cast<long>(tag), out.begin() + static_cast<long>(tag) + 4);
    seen.Frames = BE32(out, tag + 8);
    seen.Bytes = BE32(out, tag + 12);
    seen.Length = static_cast<size_t>(TMpegHeader::At(&out[at]).FrameLength());
    seen.Encoder = ReadEncoderInfo(std::span<const uint8_t>(out).subspan(at, seen.Length));
    const size_t crcAt = tag + 120 + 34;
    const uint16_t crc = Crc16(0, std::span<const uint8_t>(out).subspan(at, crcAt - at));
    seen.CrcOk = out[crcAt] == (crc >> 8) && out[crcAt + 1] == (crc & 0xFF);
    return seen;
}

TEST_F(CutOptions, LengthHeaderFrontsThePlainCutAndCountsIt)
{
    const std::string vbr = Fixtures + "/vbr48k.mp3";
    const Bytes plain = Cut(vbr, 100, 900, {});
    const Bytes withHeader = Cut(vbr, 100, 900, With(false, true));
    const THeaderSeen seen = ReadHeader(withHeader);
    EXPECT_EQ(seen.Tag, "Xing");
    EXPECT_TRUE(seen.CrcOk);
    EXPECT_TRUE(seen.Encoder.Present);
    EXPECT_EQ(seen.Bytes, withHeader.size());
    // After the header, exactly the frames of the plain cut.
    EXPECT_EQ(Slice(withHeader, seen.Length, withHeader.size() - seen.Length), plain);
    EXPECT_EQ(seen.Frames, 34u); // 100 ms starts frame 5 (24 ms frames); 800 ms take 34
    // A cut inside the stream keeps neither the source's delay nor its padding.
    EXPECT_EQ(seen.Encoder.Delay, 0);
    EXPECT_EQ(seen.Encoder.Padding, 0);
}

TEST_F(CutOptions, LengthHeaderOfAWholeConstantStreamKeepsDelayAndPadding)
{
    const std::string cbr = Fixtures + "/cbr128-tags.mp3";
    TRoruvoMP3 source(cbr);
    TInputFile in(cbr);
    in.Seek(source.Info.ID3v2Size + source.Info.LeadingZeros, TSeekOrigin::Begin);
    const std::span<const uint8_t> sourceHeader = in.Peek(1000);
    const TEncoderInfo own = ReadEncoderInfo(sourceHeader);
    ASSERT_TRUE(own.Present);
    // The encoder's own CRC of its header frame's first 190 bytes.
    const uint16_t crc = Crc16(0, sourceHeader.first(190));
    EXPECT_EQ(sourceHeader[190], crc >> 8);
    EXPECT_EQ(sourceHeader[191], crc & 0xFF);

    const Bytes out = Cut(cbr, 0, 100000, With(false, true));
    const THeaderSeen seen = ReadHeader(out);
    EXPECT_EQ(seen.Tag, "Info");
    EXPECT_EQ(seen.Length, 417u); // the stream's own 128 kbit/s
    EXPECT_EQ(seen.Encoder.Delay, own.Delay);
    EXPECT_EQ(seen.Encoder.Padding, own.Padding);
    EXPECT_EQ(seen.Bytes, out.size());
}

TEST_F(CutOptions, LayerTwoDeclinesTheHeaderWithAReason)
{
    Mp3.LoadFile(Fixtures + "/layer2-48k.mp3");
    Mp3.CutOptions.ExactCut = true;
    EXPECT_FALSE(Mp3.SaveSegment(0, 500, Out, TID3v1Tag{}));
    EXPECT_EQ(Mp3.CutSegment(0, 500, Out, TID3v1Tag{}, Mp3.CutOptions).Status, TCutStatus::NotApplicable);
    EXPECT_FALSE(Exists(Out));
}

TEST(OutputOverwrite, BytesInTheFileAndInTheBufferAlike)
{
    TempDir dir;
    const std::string path = dir / "out.bin";
    Bytes expected(TOutputFile::BufferSize + 1000, 0x55);
    {
        TOutputFile out(path);
        out.Write(expected); // the first BufferSize bytes are in the file now
        const Bytes patch(20, 0xAA);
        out.Overwrite(10, patch);                                   // in the file
        out.Overwrite(TOutputFile::BufferSize - 10, patch);         // across both
        out.Overwrite(static_cast<int64_t>(expected.size()) - 20, patch); // in the buffer
        EXPECT_THROW(out.Overwrite(static_cast<int64_t>(expected.size()) - 10, patch), std::system_error);
        out.Commit();
        for (const size_t at : {size_t{10}, TOutputFile::BufferSize - 10, expected.size() - 20})
            std::fill_n(expected.begin() + static_cast<long>(at), 20, 0xAA);
    }
    EXPECT_EQ(ReadAll(path), expected);
}

TEST(Crc16, AnyLengthAgreesWithByteAtATime)
{
    Bytes data(1000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 37 + 11);
    for (const size_t length : {0u, 1u, 7u, 8u, 9u, 63u, 1000u}) {
        uint16_t slow = 0x1234;
        for (size_t i = 0; i < length; ++i)
            slow = Crc16(slow, std::span<const uint8_t>(&data[i], 1));
        EXPECT_EQ(Crc16(0x1234, std::span<const uint8_t>(data.data(), length)), slow) << length;
    }
    EXPECT_EQ(Crc16(0, TextBytes("123456789")), 0xBB3D); // CRC-16/ARC check value
}

TEST(ReservoirFrame, SmallestBitrateThatHoldsTheBorrowedBytes)
{
    const TMpegHeader stereo44(0xFFFB9064);
    Bytes tail(300);
    for (size_t i = 0; i < tail.size(); ++i)
        tail[i] = static_cast<uint8_t>(i);
    const Bytes frame = BuildReservoirFrame(stereo44, tail);
    // 96 kbit/s holds 313 - 36 = 277 bytes, 112 kbit/s 365 - 36 = 329.
    ASSERT_EQ(frame.size(), 365u);
    EXPECT_EQ(frame[2] >> 4, 8); // 112 kbit/s
    EXPECT_EQ(MainDataBegin(frame), 0);
    EXPECT_EQ(Slice(frame, frame.size() - 300, 300), tail);
    // Silence: all side information zero.
    EXPECT_EQ(Slice(frame, 4, 32), Bytes(32, 0));

    EXPECT_EQ(BuildReservoirFrame(stereo44, {}).size(), 104u); // 32 kbit/s
    const TMpegHeader mono8k(0xFFE348C4);
    const Bytes reach(255, 7);
    const Bytes small = BuildReservoirFrame(mono8k, reach);
    EXPECT_GE(small.size(), 4u + 9u + 255u);
    EXPECT_EQ(Slice(small, small.size() - 255, 255), reach);
}

TEST(ReservoirFrame, MainDataBeginOfBothVersions)
{
    // MPEG 1: nine bits; MPEG 2: eight bits; a CRC moves the side information.
    EXPECT_EQ(MainDataBegin(Bytes{0xFF, 0xFB, 0x90, 0x64, 0xFF, 0x80}), 511);
    EXPECT_EQ(MainDataBegin(Bytes{0xFF, 0xFA, 0x90, 0x64, 0, 0, 0x01, 0x00}), 2);
    EXPECT_EQ(MainDataBegin(Bytes{0xFF, 0xF3, 0x88, 0xC4, 0xFF, 0x80}), 255);
}

// An ID3v2.3 tag with a title, a length, a seek table and a picture.
Bytes SourceTag()
{
    TagLib::ByteVectorStream stream{TagLib::ByteVector()};
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
    tag->setTitle("Old Title");
    tag->setArtist("Artist");
    auto* length = new TagLib::ID3v2::TextIdentificationFrame("TLEN", TagLib::String::Latin1);
    length->setText("99999");
    tag->addFrame(length);
    auto* picture = new TagLib::ID3v2::AttachedPictureFrame;
    picture->setMimeType("image/png");
    picture->setPicture(TagLib::ByteVector(5000, 'p'));
    tag->addFrame(picture);
    const TagLib::ByteVector bytes = tag->render(TagLib::ID3v2::v3);
    return Bytes(bytes.begin(), bytes.end());
}

TagLib::ID3v2::Tag* ParseTag(TagLib::MPEG::File& file)
{
    return file.ID3v2Tag(false);
}

TEST_F(CutOptions, KeptTagLosesLayoutFramesAndTakesEditedFields)
{
    const Bytes source = SourceTag() + Frames(H44, 20);
    const std::string in = Dir.Write("tagged.mp3", source);

    TID3v1Tag edited{};
    std::memcpy(edited.Marker, "TAG", 3);
    std::memcpy(edited.Title, "New \xE9t\xE9", 8); // Latin-1 text
    const Bytes out = Cut(in, 0, 1000, With(true, false), edited);

    TagLib::ByteVectorStream stream(TagLib::ByteVector(reinterpret_cast<const char*>(out.data()),
                                                       static_cast<unsigned>(out.size())));
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    TagLib::ID3v2::Tag* tag = ParseTag(file);
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->header()->majorVersion(), 3u);
    EXPECT_EQ(tag->title().to8Bit(true), "New \xC3\xA9t\xC3\xA9");
    // The source has no ID3v1 tag, so only fields with text differ from it.
    EXPECT_EQ(tag->artist().to8Bit(true), "Artist");
    EXPECT_TRUE(tag->frameListMap()["TLEN"].isEmpty());
    ASSERT_EQ(tag->frameListMap()["APIC"].size(), 1u);
    EXPECT_EQ(tag->frameListMap()["APIC"].front()->render().size(), 5000u + 10 + 13);

    // The audio follows the tag, and the ID3v1 tag ends the file.
    const size_t tagSize = 10 + static_cast<size_t>(ID3v2TagSize(&out[6]));
    EXPECT_EQ(Slice(out, tagSize, out.size() - tagSize - 128), Slice(source, source.size() - 20 * 417, 20 * 417));
}

TEST_F(CutOptions, KeptTagWithoutEditsKeepsTheSourceFields)
{
    const std::string in = Dir.Write("tagged.mp3", SourceTag() + Frames(H44, 5));
    const Bytes out = Cut(in, 0, 1000, With(true, false));
    TagLib::ByteVectorStream stream(TagLib::ByteVector(reinterpret_cast<const char*>(out.data()),
                                                       static_cast<unsigned>(out.size())));
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    ASSERT_NE(ParseTag(file), nullptr);
    EXPECT_EQ(ParseTag(file)->title().to8Bit(true), "Old Title");
    EXPECT_EQ(ParseTag(file)->artist().to8Bit(true), "Artist");
}

} // namespace
