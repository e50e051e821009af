// Sources whose frames carry a CRC (lame -p): the header frame of
// --length-header and --exact and the exact cut's reservoir frame take the
// protection of the frames they stand before, so that every frame of the
// output carries a CRC, each one right (worked out here bit by bit, apart
// from the engine), and checking decoders and stream checkers accept it.
#include "CliRunner.h"
#include "engine/cut/LengthHeader.h"
#include "engine/frames/FrameWalk.h"
#include "engine/frames/MpegHeader.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace clitest;
using namespace vivizu;
using namespace vivizu::test;

namespace {

bool Have(const char* tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

int Shell(const std::string& command) { return std::system(command.c_str()); }

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// The MPEG audio protection word, bit by bit: CRC-16, polynomial 0x8005,
// from 0xFFFF, over header bytes 2 and 3 and the side information.
uint16_t ProtectionWord(const Bytes& file, size_t at, int sideInfoSize)
{
    uint32_t crc = 0xFFFF;
    const auto feed = [&crc](uint8_t byte) {
        for (int bit = 7; bit >= 0; --bit) {
            const uint32_t in = (byte >> bit) & 1u;
            const uint32_t top = (crc >> 15) & 1u;
            crc = (crc << 1) & 0xFFFF;
            if (top != in)
                crc ^= 0x8005;
        }
    };
    feed(file[at + 2]);
    feed(file[at + 3]);
    for (int i = 0; i < sideInfoSize; ++i)
        feed(file[at + 6 + static_cast<size_t>(i)]);
    return static_cast<uint16_t>(crc);
}

struct TFramesSeen {
    int Frames = 0;
    int WithoutCrc = 0;
    int WrongCrc = 0;
    bool AllBytesInFrames = false;
    bool HeaderFrameFirst = false;
    bool HeaderFrameSealed = false; // its encoder extension's own CRC
};

// Walks a file that holds only frames (no tags) and checks every frame's
// protection word.
TFramesSeen CheckFrames(const Bytes& file)
{
    TFramesSeen seen;
    size_t at = 0;
    while (at + 4 <= file.size()) {
        const TMpegHeader h = TMpegHeader::At(&file[at]);
        const size_t length = static_cast<size_t>(h.FrameLength());
        if (!h.HasSync() || length == 0 || at + length > file.size())
            break;
        if (seen.Frames == 0 && IsHeaderFrame(std::span<const uint8_t>(file).subspan(at, 40))) {
            seen.HeaderFrameFirst = true;
            const size_t crcAt = static_cast<size_t>(HeaderFrameTagOffset(h)) + 154;
            const uint16_t stored = static_cast<uint16_t>(file[crcAt] << 8 | file[crcAt + 1]);
            seen.HeaderFrameSealed = Crc16(0, std::span<const uint8_t>(file).subspan(0, crcAt)) == stored;
        }
        ++seen.Frames;
        if (!h.HasCrc())
            ++seen.WithoutCrc;
        else if (ProtectionWord(file, at, h.SideInfoSize()) != static_cast<uint16_t>(file[at + 4] << 8 | file[at + 5]))
            ++seen.WrongCrc;
        at += length;
    }
    seen.AllBytesInFrames = at == file.size();
    return seen;
}

struct TEncoding {
    const char* Name;
    int Rate;
    int Channels;
    const char* Lame;
};
// MPEG 1, 2 and 2.5; stereo, joint stereo and mono; all with CRC.
const TEncoding Encodings[] = {
    {"m1-stereo", 44100, 2, "-m s -b 128"}, {"m1-joint", 44100, 2, "-m j -b 160"},
    {"m1-mono", 48000, 1, "-m m -b 64"},    {"m2-joint", 22050, 2, "-m j -b 64"},
    {"m2-mono", 16000, 1, "-m m -b 32"},    {"m25-mono", 8000, 1, "-m m -b 16"},
};

class CliCrcSource : public testing::Test {
protected:
    void SetUp() override
    {
        if (!Have("lame") || !Have("ffmpeg"))
            GTEST_SKIP() << "needs lame and ffmpeg";
    }
    // Three seconds of a tone with a chirp, encoded with CRCs.
    std::string Encode(const TEncoding& e)
    {
        const std::string wav = Dir / (std::string(e.Name) + ".wav");
        const std::string mp3 = Dir / (std::string(e.Name) + ".mp3");
        Shell("ffmpeg -v error -y -f lavfi -i 'aevalsrc=0.3*sin(440*2*PI*t)+0.2*sin(1500*2*PI*t*t):s=" +
              std::to_string(e.Rate) + ":d=3' -ac " + std::to_string(e.Channels) + " -c:a pcm_s16le " +
              Quoted(wav));
        Shell(std::string("lame --quiet -p ") + e.Lame + " " + Quoted(wav) + " " + Quoted(mp3));
        return mp3;
    }
    // Every frame of out has a right CRC, the first is the header frame,
    // ffmpeg decodes it with its CRC check on, and mp3check (when there)
    // finds nothing to say (no junk before the first frame, no CRC error).
    void ExpectProtected(const std::string& out, bool mpeg25 = false)
    {
        const TFramesSeen seen = CheckFrames(ReadAll(out));
        EXPECT_GT(seen.Frames, 20);
        EXPECT_TRUE(seen.AllBytesInFrames);
        EXPECT_TRUE(seen.HeaderFrameFirst);
        EXPECT_TRUE(seen.HeaderFrameSealed);
        EXPECT_EQ(seen.WithoutCrc, 0);
        EXPECT_EQ(seen.WrongCrc, 0);
        EXPECT_EQ(Shell("ffmpeg -v error -err_detect crccheck+bitstream+buffer+explode -i " + Quoted(out) +
                        " -f null - >/dev/null 2>&1"),
                  0);
        if (Have("mp3check") && !mpeg25) { // it knows no MPEG 2.5
            // Bitrates may switch (the reservoir frame's is its own).
            const std::string report = Dir / "mp3check.txt";
            const int exit = Shell("mp3check -e -B " + Quoted(out) + " >" + Quoted(report) + " 2>&1");
            const Bytes said = ReadAll(report);
            EXPECT_EQ(exit, 0) << std::string(said.begin(), said.end());
        }
    }
    TempDir Dir;
};

// Exact cuts (header frame, reservoir frame, audio) and length-header cuts
// of every layout, and the pieces of an exact split.
TEST_F(CliCrcSource, EveryFrameOfExactAndHeaderCutsHasItsCrc)
{
    for (const TEncoding& e : Encodings) {
        SCOPED_TRACE(e.Name);
        const std::string source = Encode(e);
        const TFramesSeen input = CheckFrames(ReadAll(source));
        ASSERT_EQ(input.WithoutCrc, 0); // lame -p protects its own header frame too
        ASSERT_EQ(input.WrongCrc, 0);
        for (const char* mode : {"--exact", "--length-header"}) {
            SCOPED_TRACE(mode);
            const std::string out = Dir / (std::string(e.Name) + mode + ".mp3");
            const TRun run = RunCli({"cut", "--no-tag", mode, source, out, "310", "2270"});
            ASSERT_EQ(run.Exit, 0) << run.Err;
            ExpectProtected(out, e.Rate < 16000);
        }
    }
    const std::string source = Encode(Encodings[1]);
    TempDir pieces;
    const TRun run = RunCli({"split", "--exact", "--no-tag", "--parts", "3", "-d", pieces.Path(), source});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    ASSERT_EQ(pieces.Names().size(), 3u);
    for (const std::string& name : pieces.Names()) {
        SCOPED_TRACE(name);
        ExpectProtected(pieces / name);
    }
}

} // namespace
