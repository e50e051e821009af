// vivizu-cli cut --keep-id3v2, --length-header and --exact: what each adds
// to the output, and the streams they decline.
#include "CliRunner.h"
#include "engine/tags/Id3v2Size.h"
#include "engine/frames/MpegHeader.h"
#include "engine/frames/FrameWalk.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace clitest;
using namespace vivizu;
using namespace vivizu::test;

namespace {

const std::string Fixtures = VIVIZU_FIXTURES;

bool StartsWith(const Bytes& b, const char* text)
{
    return b.size() >= std::strlen(text) && std::memcmp(b.data(), text, std::strlen(text)) == 0;
}

TEST(CliCutOptions, EachFlagAddsItsPart)
{
    TempDir dir;
    const std::string source = Fixtures + "/cbr128-tags.mp3";
    const std::string plain = dir / "plain.mp3", header = dir / "header.mp3", kept = dir / "kept.mp3";
    ASSERT_EQ(RunCli({"cut", "--no-tag", source, plain, "100", "900"}).Exit, 0);
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--length-header", source, header, "100", "900"}).Exit, 0);
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--keep-id3v2", source, kept, "100", "900"}).Exit, 0);

    const Bytes p = ReadAll(plain), h = ReadAll(header), k = ReadAll(kept);
    ASSERT_GE(h.size(), 4u);
    EXPECT_TRUE(IsHeaderFrame(h));
    const size_t frame = static_cast<size_t>(TMpegHeader::At(h.data()).FrameLength());
    EXPECT_EQ(Slice(h, frame, h.size() - frame), p);

    ASSERT_TRUE(StartsWith(k, "ID3"));
    const size_t tag = 10 + static_cast<size_t>(ID3v2TagSize(&k[6]));
    EXPECT_EQ(Slice(k, tag, k.size() - tag), p);
}

TEST(CliCutOptions, ExactCutOfLayerTwoIsDeclined)
{
    TempDir dir;
    const TRun run = RunCli({"cut", "--exact", Fixtures + "/layer2-48k.mp3", dir / "out.mp3", "0", "500"});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_NE(run.Err.find("Layer III"), std::string::npos) << run.Err;
    EXPECT_FALSE(Exists(dir / "out.mp3"));
}

TEST(CliCutOptions, HelpNamesTheFlags)
{
    const TRun run = RunCli({"cut", "--help"});
    for (const char* flag : {"--keep-id3v2", "--length-header", "--exact"})
        EXPECT_NE(run.Out.find(flag), std::string::npos) << flag;
}

} // namespace
