// The walk's steps by both rules and the zero-byte scan, on byte-built
// files.
#include "Mp3Bytes.h"
#include "engine/io/FileStream.h"
#include "engine/frames/FrameWalk.h"

#include <gtest/gtest.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

// One step as the cut sees it: where the walk goes on, and the audio it
// passed (none for anything that is not an audio frame).
struct Seen {
    int64_t Position = 0;
    int32_t Length = 0;
    double DurationMs = 0.0;
    bool EndOfAudio = false;
};

Seen Look(const TFrameStep& step)
{
    Seen seen;
    seen.EndOfAudio = step.Kind == TStepKind::EndOfAudio;
    seen.Position = step.End;
    if (step.Kind == TStepKind::AudioFrame) {
        seen.Length = step.Length();
        seen.DurationMs = step.Header.DurationMs();
    }
    return seen;
}

class FrameWalk : public ::testing::Test {
protected:
    // Steps once from `from` by the cut's rule; copied gets the bytes of an
    // audio frame, which is what a cut copies of the step.
    Seen StepBoth(const Bytes& bytes, int64_t from, Bytes& copied)
    {
        const std::string path = Dir.Write("walk.mp3", bytes);
        TInputFile input(path);
        TFrameWalker walker(input, from, input.Size());
        const Seen seen = Look(walker.Next());
        EXPECT_EQ(walker.Position(), seen.Position);
        copied = seen.Length > 0 ? Slice(bytes, static_cast<size_t>(from), static_cast<size_t>(seen.Length)) : Bytes{};
        return seen;
    }

    TempDir Dir;
};

TEST_F(FrameWalk, AudioFrameIsSteppedAndCopiedWhole)
{
    const Bytes bytes = Frames(H44, 3);
    Bytes copied;
    const Seen step = StepBoth(bytes, 417, copied);
    EXPECT_EQ(step.Position, 834);
    EXPECT_EQ(step.Length, 417);
    EXPECT_DOUBLE_EQ(step.DurationMs, 1152000.0 / 44100);
    EXPECT_EQ(copied, Slice(bytes, 417, 417));
}

// Encoder header frames are stepped over whole, count no time and are never
// copied, wherever their encoder put the tag for the stream's layout.
TEST_F(FrameWalk, HeaderFramesAreNotAudio)
{
    struct Case {
        Header header;
        int offset;
        const char* text;
    };
    const Header mpeg1Mono{0xFF, 0xFB, 0x90, 0xC4};
    const Header mpeg2Stereo{0xFF, 0xF3, 0x88, 0x04};
    for (const Case& c : {Case{H44, 36, "Xing"}, Case{H44, 36, "Info"}, Case{H44, 36, "VBRI"},
                          Case{mpeg1Mono, 21, "Info"}, Case{mpeg1Mono, 21, "Xing"},
                          Case{mpeg1Mono, 36, "Xing"}, Case{mpeg2Stereo, 21, "Info"},
                          Case{H16Mono, 13, "Info"}, Case{H16Mono, 13, "Xing"}}) {
        SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.offset));
        const Bytes bytes = HeaderFrame(c.header, c.offset, c.text) + Frames(c.header, 1);
        Bytes copied;
        const Seen step = StepBoth(bytes, 0, copied);
        EXPECT_EQ(step.Position, TMpegHeader::At(c.header.data()).FrameLength());
        EXPECT_EQ(step.Length, 0);
        EXPECT_EQ(step.DurationMs, 0.0);
        EXPECT_TRUE(copied.empty());
    }
}

TEST_F(FrameWalk, MarkersAtOtherOffsetsAreAudio)
{
    // "Info" counts only right after the side information, "VBRI" only at 36.
    struct Case {
        Header header;
        int offset;
        const char* text;
    };
    for (const Case& c : {Case{H16Mono, 36, "Info"}, Case{H16Mono, 21, "VBRI"},
                          Case{H44, 21, "Info"}, Case{H44, 13, "Xing"}}) {
        SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.offset));
        const Bytes bytes = HeaderFrame(c.header, c.offset, c.text) + Frames(c.header, 1);
        Bytes copied;
        const Seen step = StepBoth(bytes, 0, copied);
        const int32_t length = TMpegHeader::At(c.header.data()).FrameLength();
        EXPECT_EQ(step.Length, length);
        EXPECT_EQ(copied, Slice(bytes, 0, static_cast<size_t>(length)));
    }
}

TEST_F(FrameWalk, EmbeddedId3v2TagIsSteppedOverWhole)
{
    Bytes copied;
    Bytes tag = Id3v2(257);
    EXPECT_EQ(StepBoth(Frames(H44, 1) + tag + Frames(H44, 1), 417, copied).Position, 417 + 267);
    EXPECT_TRUE(copied.empty());

    // High bits of the size bytes are masked: 80 80 80 81 is a size of 1.
    tag = Id3v2(1);
    tag[6] = tag[7] = tag[8] = 0x80;
    tag[9] = 0x81;
    const Seen step = StepBoth(tag + Frames(H44, 1), 0, copied);
    EXPECT_EQ(step.Position, 11);
    EXPECT_EQ(step.Length, 0);
}

TEST_F(FrameWalk, EmbeddedTagWithFooterIsSteppedOverWhole)
{
    Bytes tag = Id3v2(40) + Bytes(10, 0); // a version 2.4 tag and its footer
    tag[3] = 4;
    tag[5] = 0x10;
    Bytes copied;
    EXPECT_EQ(StepBoth(tag + Frames(H44, 1), 0, copied).Position, 60);
    EXPECT_TRUE(copied.empty());
}

// Bytes that are neither a frame nor a tag are passed in groups of four; a
// run of them in one step, up to the next group that may begin a frame or a
// tag.
TEST_F(FrameWalk, AnythingElseIsPassedInGroupsOfFour)
{
    const uint8_t reservedRate[4] = {0xFF, 0xFB, 0x9C, 0x64};
    struct Case {
        Bytes before;
        int64_t end;
    };
    const Case cases[] = {{Bytes(8, 0), 8},
                          {Bytes{'R', 'I', 'F', 'F', 'W', 'A', 'V', 'E'}, 8},
                          {Bytes{'I', 'D', '4', ' ', 'x', 'x', 'x', 'x'}, 8},
                          // A group that begins with 'I' ends the run.
                          {Bytes{0, 0, 0, 0, 'I', 'D', '4', ' '}, 4},
                          // A header the tables do not describe is four bytes.
                          {Bytes(reservedRate, reservedRate + 4) + Bytes(4, 0), 4}};
    for (const Case& c : cases) {
        Bytes copied;
        const Seen step = StepBoth(c.before + Frames(H44, 1), 0, copied);
        EXPECT_EQ(step.Position, c.end);
        EXPECT_EQ(step.Length, 0);
        EXPECT_EQ(step.DurationMs, 0.0);
        EXPECT_TRUE(copied.empty());
    }
}

// Only groups of four from where the walk began are looked at: a sync byte
// between them is passed, as steps of four would pass it, also across the
// reads of a long run.
TEST_F(FrameWalk, LongRunsEndWhereStepsOfFourWouldEnd)
{
    const size_t run = 3 * TInputFile::BufferSize + 1;
    Bytes bytes = Bytes(run, 0) + Bytes{0xFF, 0, 0} + Frames(H44, 2);
    bytes[1001] = 0xFF; // inside a group: passed
    bytes[2002] = 'I';
    bytes[3000] = 'I';  // a group that begins with 'I' but no tag: four bytes
    bytes[4000] = 0xFF; // a header the tables do not describe: four bytes
    const std::string path = Dir.Write("run.mp3", bytes);
    TInputFile input(path);
    std::vector<int64_t> frames;
    for (TFrameWalker walker(input, 0, input.Size()); !walker.AtEnd();) {
        const TFrameStep step = walker.Next();
        if (step.Kind == TStepKind::AudioFrame)
            frames.push_back(step.Start);
    }
    EXPECT_EQ(frames, (std::vector<int64_t>{int64_t(run) + 3, int64_t(run) + 3 + 417}));
}

// A frame header whose frame runs past the end of the audio is no frame: the
// step ends the walk without moving or copying.
TEST_F(FrameWalk, FrameRunningPastTheEndOfTheAudioEndsTheWalk)
{
    const Bytes frame = Frames(H44, 1);
    const std::string path = Dir.Write("short.mp3", frame + Slice(frame, 0, 300));
    TInputFile input(path);
    TFrameWalker walker(input, 0, input.Size());
    EXPECT_EQ(Look(walker.Next()).Length, 417);
    const Seen step = Look(walker.Next());
    EXPECT_TRUE(step.EndOfAudio);
    EXPECT_EQ(step.Length, 0);
    EXPECT_EQ(walker.Position(), 417);
    EXPECT_TRUE(walker.AtEnd());

    // The same with the audio ending before the end of the file (a tag after
    // it): the whole first frame is audio, the second reaches into the tag.
    TFrameWalker first(input, 0, 417);
    EXPECT_FALSE(Look(first.Next()).EndOfAudio);
    TFrameWalker second(input, 417, 417 + 416);
    EXPECT_TRUE(Look(second.Next()).EndOfAudio);
    EXPECT_EQ(second.Position(), 417);
}

TEST_F(FrameWalk, ZeroScanFindsFirstNonZeroByte)
{
    const std::string path = Dir.Write("zeros.mp3", Id3v2(0) + Bytes(3, 0) + Frames(H44, 1));
    TInputFile input(path);
    input.Seek(10, TSeekOrigin::Begin);
    const TZeroScan scan = SkipZeroPadding(input);
    EXPECT_EQ(scan.Position, 13);
    EXPECT_EQ(scan.Count, 3);
    EXPECT_EQ(input.Position(), 13);

    input.Seek(13, TSeekOrigin::Begin);
    EXPECT_EQ(SkipZeroPadding(input).Count, 0);
}

TEST_F(FrameWalk, ZeroScanReportsRestWhenOnlyZerosFollow)
{
    // More zeros than the input buffer holds, so the scan crosses refills.
    const size_t zeros = TInputFile::BufferSize + 5000;
    TInputFile input(Dir.Write("zeros.mp3", Id3v2(0) + Bytes(zeros, 0)));
    input.Seek(10, TSeekOrigin::Begin);
    const TZeroScan scan = SkipZeroPadding(input);
    EXPECT_EQ(scan.Position, -1);
    EXPECT_EQ(scan.Count, static_cast<int64_t>(zeros));
}

} // namespace
