// SaveSegment: which frames a cut holds, the tag it ends with, and what it
// refuses or does when the file system fails.
#include "FakeDevice.h"
#include "FileSizeLimit.h"
#include "Mp3Bytes.h"
#include "engine/io/FileStream.h"
#include "engine/RoruvoMp3.h"

#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

TID3v1Tag MakeTag(const char* title, uint8_t track, uint8_t genre)
{
    TID3v1Tag tag{};
    std::memcpy(tag.Marker, "TAG", 3);
    std::memcpy(tag.Title, title, std::strlen(title));
    std::memset(tag.Comment, 'c', 30);
    tag.Track = track;
    tag.Genre = genre;
    return tag;
}

const TID3v1Tag NoTag{};

class Segment : public ::testing::Test {
protected:
    // Loads bytes as the input and cuts [start, end) into out.mp3.
    Bytes Cut(const Bytes& bytes, int32_t start, int32_t end, const TID3v1Tag& tag = NoTag)
    {
        Load(bytes);
        EXPECT_TRUE(Mp3.SaveSegment(start, end, Out, tag));
        return ReadAll(Out);
    }

    void Load(const Bytes& bytes)
    {
        Mp3.LoadFile(Dir.Write("in.mp3", bytes));
        ASSERT_TRUE(Mp3.Valid);
    }

    TempDir Dir;
    std::string Out = Dir / "out.mp3";
    TRoruvoMP3 Mp3;
};

TEST_F(Segment, StartAtOrAfterStartTimeAndCoverTheDuration)
{
    const Bytes frames = Frames(H48, 10);
    // 48..96 ms: frames 2 and 3 exactly
    EXPECT_EQ(Cut(frames, 48, 96), Slice(frames, 2 * 384, 2 * 384));
    // 49 falls inside frame 2: the cut starts at frame 3 and still lasts 47 ms
    EXPECT_EQ(Cut(frames, 49, 96), Slice(frames, 3 * 384, 2 * 384));
    // From 0: nothing skipped
    EXPECT_EQ(Cut(frames, 0, 1), Slice(frames, 0, 384));
}

TEST_F(Segment, AnalysisWithoutLengthCutsTheSame)
{
    const Bytes frames = Frames(H48, 10);
    Mp3.LoadFile(Dir.Write("in.mp3", frames), false);
    EXPECT_TRUE(Mp3.Valid);
    EXPECT_EQ(Mp3.Info.LengthMs, 0);
    EXPECT_TRUE(Mp3.SaveSegment(48, 96, Out, NoTag));
    EXPECT_EQ(ReadAll(Out), Slice(frames, 2 * 384, 2 * 384));
}

TEST_F(Segment, FractionalFrameDurationsAreSummed)
{
    // 26.12 ms frames: 1000 ms lies inside frame 38, so 39 are skipped, and 39
    // frames (1018.78 ms) are the first to reach 1000 ms.
    const Bytes frames = Frames(H44, 100);
    EXPECT_EQ(Cut(frames, 1000, 2000), Slice(frames, 39 * 417, 39 * 417));
}

TEST_F(Segment, LeavesOutTagsHeaderFramesAndPassedBytes)
{
    const Bytes audio1 = Frames(H48, 3, 0x20);
    const Bytes audio2 = Frames(H48, 3, 0x30);
    const Bytes input = Id3v2(300) + Bytes(7, 0) + HeaderFrame(H48, 36, "Xing") + audio1 + Id3v2(50) +
                        Bytes(8, 0) + audio2 + ApeFooter() + Id3v1("Src", 0, 3, 1);
    // The whole stream: only the six audio frames, nothing of the tags.
    EXPECT_EQ(Cut(input, 0, 100000), audio1 + audio2);
    // 48..120 ms: frames 2 to 4; the embedded tag between them counts no time.
    EXPECT_EQ(Cut(input, 48, 120), Slice(audio1, 768, 384) + Slice(audio2, 0, 768));
}

TEST_F(Segment, EmptySelectionWritesOnlyTheTag)
{
    const Bytes frames = Frames(H48, 4);
    EXPECT_TRUE(Cut(frames, 48, 48).empty());
    EXPECT_TRUE(Cut(frames, 96, 10).empty());
    const Bytes tagged = Cut(frames, 96, 96, MakeTag("T", 0, 1));
    ASSERT_EQ(tagged.size(), 128u);
    EXPECT_EQ(Slice(tagged, 0, 4), (Bytes{'T', 'A', 'G', 'T'}));
}

TEST_F(Segment, TagIsWrittenInTheId3v11Layout)
{
    const Bytes frames = Frames(H48, 4);
    Bytes out = Cut(frames, 0, 48, MakeTag("Title", 0, 17));
    ASSERT_EQ(out.size(), 2 * 384 + 128u);
    const Bytes tag = Slice(out, 768, 128);
    EXPECT_EQ(Slice(tag, 0, 8), (Bytes{'T', 'A', 'G', 'T', 'i', 't', 'l', 'e'}));
    EXPECT_EQ(Slice(tag, 97, 30), Bytes(30, 'c')); // track 0: the full comment
    EXPECT_EQ(tag[127], 17);

    out = Cut(frames, 0, 48, MakeTag("Title", 12, 3));
    EXPECT_EQ(out[768 + 124], 'c');
    EXPECT_EQ(out[768 + 125], 0);
    EXPECT_EQ(out[768 + 126], 12);
    EXPECT_EQ(out[768 + 127], 3);

    // A record without the marker writes no tag, even when the input has one.
    EXPECT_EQ(Cut(frames + Id3v1("Src", 0, 1, 2), 0, 1000), frames);
}

// The output holds only frames, so a copied frame whose bytes happen to end
// in "TAG"-at-128 is kept and the tag goes after it.
TEST_F(Segment, TagIsAlwaysAppended)
{
    Bytes frames = Frames(H48, 3);
    std::memcpy(frames.data() + 2 * 384 - 128, "TAG", 3);
    const Bytes out = Cut(frames, 0, 48, MakeTag("New", 0, 0));
    ASSERT_EQ(out.size(), 2 * 384 + 128u);
    EXPECT_EQ(Slice(out, 0, 768), Slice(frames, 0, 768));
}

TEST_F(Segment, RefusesWithoutAnalysedFileOrUsableOutput)
{
    TRoruvoMP3 none;
    EXPECT_FALSE(none.SaveSegment(0, 100, Out, NoTag));

    Mp3.LoadFile(Dir.Write("text.mp3", Bytes(600, 'x')));
    EXPECT_FALSE(Mp3.SaveSegment(0, 100, Out, NoTag));

    Load(Frames(H48, 4));
    EXPECT_FALSE(Mp3.SaveSegment(0, 100, Dir / "no/such/folder/out.mp3", NoTag));
    EXPECT_FALSE(Mp3.SaveSegment(0, 100, Dir.Path(), NoTag));
    EXPECT_FALSE(Mp3.SaveSegment(0, 100, "", NoTag));
    EXPECT_FALSE(Mp3.SaveSegment(0, 100, Dir.Path() + "/", NoTag));
    EXPECT_FALSE(Mp3.SaveSegment(0, 100, "/dev/null", NoTag));
    struct stat st {};
    ASSERT_EQ(stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    unlink(Mp3.FileName.c_str());
    EXPECT_FALSE(Mp3.SaveSegment(0, 100, Out, NoTag));
    EXPECT_EQ(Dir.Names(), std::vector<std::string>{"text.mp3"});
}

// Linux has no share locks: writing the output would truncate the input.
TEST_F(Segment, OutputThatIsTheInputIsRefusedUntouched)
{
    const Bytes input = Frames(H48, 4);
    Load(input);
    ASSERT_EQ(symlink("in.mp3", (Dir / "link.mp3").c_str()), 0);
    ASSERT_EQ(link(Mp3.FileName.c_str(), (Dir / "hard.mp3").c_str()), 0);
    for (const std::string& name : {Mp3.FileName, Dir / "./in.mp3", Dir / "link.mp3", Dir / "hard.mp3"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Mp3.SaveSegment(0, 48, name, MakeTag("x", 1, 1)));
        EXPECT_EQ(ReadAll(Mp3.FileName), input);
    }
    EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"hard.mp3", "in.mp3", "link.mp3"}));
}

TEST_F(Segment, ReplacesAnEarlierFileAndKeepsLinksAndPermissions)
{
    const Bytes frames = Frames(H48, 4);
    Dir.Write("target.mp3", Bytes(5000, 'o'));
    chmod((Dir / "target.mp3").c_str(), 0640);
    ASSERT_EQ(symlink("target.mp3", Out.c_str()), 0);
    Load(frames);
    EXPECT_TRUE(Mp3.SaveSegment(0, 48, Out, NoTag));
    EXPECT_EQ(ReadAll(Dir / "target.mp3"), Slice(frames, 0, 768));
    struct stat st {};
    ASSERT_EQ(lstat(Out.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat((Dir / "target.mp3").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// The temporary file beside the output must fit the longest name the output
// itself may have.
TEST_F(Segment, LongestOutputNameIsWritten)
{
    const Bytes frames = Frames(H48, 2);
    Load(frames);
    const std::string name = Dir / (std::string(251, 'n') + ".mp3");
    EXPECT_TRUE(Mp3.SaveSegment(0, 48, name, NoTag));
    EXPECT_EQ(ReadAll(name), frames);
}

// A write that fails leaves an earlier file of that name as it was and no
// half-written file behind.
TEST_F(Segment, FailedWriteKeepsTheEarlierFile)
{
    const Bytes earlier(500, 'e');
    Dir.Write("out.mp3", earlier);
    Load(Frames(H48, 20));

    TFileSizeLimit limit(1000);
    bool raised = false;
    try {
        Mp3.SaveSegment(0, 1000, Out, NoTag);
    } catch (const std::system_error& e) {
        raised = true;
        EXPECT_NE(std::string(e.what()).find("File too large"), std::string::npos) << e.what();
    }
    limit.Restore();

    EXPECT_TRUE(raised);
    EXPECT_EQ(ReadAll(Out), earlier);
    EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"in.mp3", "out.mp3"}));
}

// A last frame cut short (a truncated download) is no frame of the stream:
// the cut holds the whole frames before it and the tag, and succeeds; the
// length does not count it. The same when an ID3v1 tag or an APE footer
// follows the cut-short frame: its "TAG" bytes are never copied.
TEST_F(Segment, FrameCutShortIsNotPartOfTheStream)
{
    const Bytes frames = Frames(H48, 3);
    const Bytes partial = Slice(Frame(H48, 0x77), 0, 300);
    const TID3v1Tag tag = MakeTag("x", 0, 0);
    for (const Bytes& trailer : {Bytes{}, Id3v1("Src", 0, 1, 2), ApeFooter() + Id3v1("Src", 0, 1, 2),
                                 ApeFooter()}) {
        SCOPED_TRACE(trailer.size());
        const Bytes out = Cut(frames + partial + trailer, 0, 1000, tag);
        EXPECT_EQ(Mp3.Info.LengthMs, 72);
        ASSERT_EQ(out.size(), frames.size() + 128);
        EXPECT_EQ(Slice(out, 0, frames.size()), frames);
        EXPECT_EQ(Slice(out, frames.size(), 4), (Bytes{'T', 'A', 'G', 'x'}));
        EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"in.mp3", "out.mp3"}));
    }
    // Starting at or past the cut-short frame: no frames, only the tag.
    EXPECT_EQ(Cut(frames + partial, 72, 1000, tag).size(), 128u);
}

// A file larger than the part of it the input reads at a time: frames
// straddle the window's ends.
TEST_F(Segment, LongFileIsCutAcrossInputWindows)
{
    Bytes frames;
    frames.reserve(15000 * 417);
    for (int block = 0; block < 60; ++block) {
        const Bytes part = Frames(H44, 250, static_cast<uint8_t>(block));
        frames.insert(frames.end(), part.begin(), part.end());
    }
    ASSERT_GT(frames.size(), 4 * TInputFile::BufferSize);
    Load(frames);
    EXPECT_EQ(Mp3.Info.LengthMs, 391836); // 15000 x 26.1224 ms
    // 100 s lies inside frame 3828, so the cut starts at frame 3829; 2297
    // frames are the first to reach 60 s.
    EXPECT_TRUE(Mp3.SaveSegment(100000, 160000, Out, NoTag));
    EXPECT_EQ(ReadAll(Out), Slice(frames, 3829 * 417, 2297 * 417));
    EXPECT_TRUE(Mp3.SaveSegment(0, static_cast<int32_t>(Mp3.Info.LengthMs), Out, NoTag));
    EXPECT_EQ(ReadAll(Out), frames);
}

// Differences of extreme times are taken without wrapping around.
TEST_F(Segment, ExtremeTimes)
{
    const Bytes frames = Frames(H48, 4);
    EXPECT_EQ(Cut(frames, INT32_MIN, INT32_MAX), frames);
    EXPECT_TRUE(Cut(frames, INT32_MAX, INT32_MIN).empty());
    EXPECT_TRUE(Cut(frames, INT32_MAX, INT32_MAX).empty());
}

struct RealCut {
    const char* name;
    int32_t start, end;
    size_t from, count; // the bytes of the input the cut must hold
};

class RealFileCuts : public ::testing::TestWithParam<RealCut> {};

// Frame positions from ffprobe's packet list; 0 to the length holds every
// audio frame.
TEST_P(RealFileCuts, HoldExactlyTheFrames)
{
    const RealCut& c = GetParam();
    const std::string path = std::string(VIVIZU_FIXTURES) + "/" + c.name;
    TempDir dir;
    TRoruvoMP3 m(path);
    ASSERT_TRUE(m.Valid);
    const int32_t end = c.end < 0 ? static_cast<int32_t>(m.Info.LengthMs) : c.end;
    ASSERT_TRUE(m.SaveSegment(c.start, end, dir / "cut.mp3", NoTag));
    EXPECT_EQ(ReadAll(dir / "cut.mp3"), Slice(ReadAll(path), c.from, c.count));
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RealFileCuts,
    ::testing::Values(RealCut{"cbr128-tags.mp3", 0, -1, 681, 24659},
                      RealCut{"cbr128-tags.mp3", 500, 1000, 9040, 17399 - 9040},
                      RealCut{"ffmpeg-ape.mp3", 0, -1, 286, 12329},
                      RealCut{"vbr48k.mp3", 0, -1, 384, 9216},
                      RealCut{"vbr48k.mp3", 480, 960, 3384, 6240 - 3384},
                      RealCut{"mono22k.mp3", 0, -1, 208, 12538},
                      RealCut{"mono8k.mp3", 0, -1, 288, 6624},
                      RealCut{"leading-zeros.mp3", 0, -1, 125 + 288, 6624},
                      RealCut{"layer2-48k.mp3", 0, -1, 0, 36288}));

} // namespace
