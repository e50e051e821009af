// vivizu-cli cut --keep-id3v2 on tags laid out in every way the format
// allows (extended headers, plain-integer 2.4 frame sizes, group bytes):
// every kept frame reaches the output with its content, as TagLib and
// ffprobe read it back.
#include "CliRunner.h"

#include <gtest/gtest.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <cstdio>
#include <map>

using namespace clitest;
using namespace vivizu::test;

namespace {

struct TTextFrame {
    const char* Id;
    std::string Text;
};

const std::vector<TTextFrame> Texts = {
    {"TIT2", "Title text"},
    // 301 bytes of data: a size above 127, whose bytes read as a syncsafe
    // integer end the frame inside the text, on letters that look like a
    // frame ID.
    {"TALB", std::string(300, 'A')},
    {"TPE1", "Artist name"},
    {"TRCK", "7"},
};

Bytes BigEndian(uint32_t value, bool syncsafe)
{
    const int step = syncsafe ? 7 : 8;
    const uint32_t mask = syncsafe ? 0x7F : 0xFF;
    return {static_cast<uint8_t>((value >> (3 * step)) & mask), static_cast<uint8_t>((value >> (2 * step)) & mask),
            static_cast<uint8_t>((value >> step) & mask), static_cast<uint8_t>(value & mask)};
}

struct TLayout {
    const char* Name;
    uint8_t Version;
    Bytes Extended;        // the extended header, when there is one
    bool SyncsafeSizes;    // frame sizes as syncsafe integers
    uint8_t GroupFlag = 0; // the frames' grouping flag, with a group byte 7
    size_t Padding = 100;
};

// A tag of the four text frames (Latin-1), laid out as layout says, with
// padding after them.
Bytes BuildTag(const TLayout& layout)
{
    Bytes body = layout.Extended;
    for (const TTextFrame& frame : Texts) {
        Bytes data;
        if (layout.GroupFlag)
            data.push_back(7);
        data.push_back(0); // Latin-1
        data.insert(data.end(), frame.Text.begin(), frame.Text.end());
        body = body + TextBytes(frame.Id) + BigEndian(static_cast<uint32_t>(data.size()), layout.SyncsafeSizes) +
               Bytes{0, layout.GroupFlag} + data;
    }
    body = body + Bytes(layout.Padding, 0);
    const uint8_t flags = layout.Extended.empty() ? 0 : 0x40;
    return TextBytes("ID3") + Bytes{layout.Version, 0, flags} + BigEndian(static_cast<uint32_t>(body.size()), true) +
           body;
}

// ffprobe's names and values of the output's tags.
std::map<std::string, std::string> ProbeTags(const std::string& path)
{
    std::map<std::string, std::string> tags;
    const std::string command = "ffprobe -v error -show_entries format_tags -of default=noprint_wrappers=1 '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return tags;
    char line[1024];
    while (fgets(line, sizeof line, pipe)) {
        std::string text = line;
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        const size_t colon = text.find(':'), eq = text.find('=');
        if (text.rfind("TAG:", 0) == 0 && eq != std::string::npos && colon < eq)
            tags[text.substr(4, eq - 4)] = text.substr(eq + 1);
    }
    pclose(pipe);
    return tags;
}

TEST(KeptTagCorpus, EveryFrameKeepsItsContent)
{
    const std::vector<TLayout> corpus = {
        {"2.3", 3, {}, false},
        {"2.3 with an extended header", 3, Bytes{0, 0, 0, 6, 0, 0, 0, 0, 0, 0}, false},
        {"2.3 with an extended header and a CRC", 3, Bytes{0, 0, 0, 10, 0x80, 0, 0, 0, 0, 0, 1, 2, 3, 4}, false},
        {"2.4", 4, {}, true},
        {"2.4 with an extended header", 4, Bytes{0, 0, 0, 6, 1, 0}, true},
        {"2.4 with an extended header and no padding", 4, Bytes{0, 0, 0, 6, 1, 0}, true, 0, 0},
        {"2.4 with plain-integer frame sizes", 4, {}, false},
        {"2.3 with grouped frames", 3, {}, false, 0x20},
        {"2.4 with grouped frames", 4, {}, true, 0x40},
    };
    const bool probe = std::system("ffprobe -version >/dev/null 2>&1") == 0;
    for (const TLayout& layout : corpus) {
        SCOPED_TRACE(layout.Name);
        TempDir dir;
        const std::string in = dir.Write("in.mp3", BuildTag(layout) + Frames(H44, 40));
        const std::string out = dir / "out.mp3";
        const TRun run = RunCli({"cut", "--no-tag", "--keep-id3v2", in, out, "0", "500"});
        ASSERT_EQ(run.Exit, 0) << run.Err;

        TagLib::MPEG::File file(out.c_str(), false);
        TagLib::ID3v2::Tag* tag = file.ID3v2Tag(false);
        ASSERT_NE(tag, nullptr);
        EXPECT_EQ(tag->header()->majorVersion(), layout.Version);
        EXPECT_EQ(tag->frameList().size(), Texts.size());
        for (const TTextFrame& frame : Texts) {
            const TagLib::ID3v2::FrameList& found = tag->frameListMap()[frame.Id];
            EXPECT_EQ(found.size(), 1u) << frame.Id;
            if (!found.isEmpty()) {
                EXPECT_EQ(found.front()->toString().to8Bit(true), frame.Text) << frame.Id;
            }
        }

        if (!probe)
            continue;
        const std::map<std::string, std::string> probed = ProbeTags(out);
        EXPECT_EQ(probed, (std::map<std::string, std::string>{
                              {"title", Texts[0].Text}, {"album", Texts[1].Text}, {"artist", Texts[2].Text},
                              {"track", Texts[3].Text}}));
    }
}

} // namespace
