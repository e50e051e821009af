#include "SoundFiles.h"

#include "engine/RoruvoMp3.h"
#include "engine/decode/FrameStarts.h"
#include "engine/decode/ScalefactorLevels.h"
#include "engine/decode/SideInfoLevels.h"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace vivizu::test {

TSoundFolder::TSoundFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vivizu-decode-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "cannot make a temporary folder";
    FPath = pattern;
}

TSoundFolder::~TSoundFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

std::string TSoundFolder::Mp3(const std::string& name, const std::string& soxArgs, const std::string& lameArgs)
{
    const std::string wav = FPath + "/" + name + ".wav";
    const std::string mp3 = FPath + "/" + name + ".mp3";
    const std::string command = "sox -R -q -n '" + wav + "' " + soxArgs + " && lame --quiet " + lameArgs + " '" + wav
                                + "' '" + mp3 + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return mp3;
}

std::string RunShell(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    std::array<char, 4096> buffer;
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

std::vector<int64_t> WalkAudioFrameStarts(const std::string& fileName)
{
    TRoruvoMP3 mp3;
    mp3.LoadFile(fileName);
    if (!mp3.Valid)
        return {};
    const TFrameStarts starts(mp3.Index());
    std::vector<int64_t> table(starts.size());
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = starts[i];
    return table;
}

std::vector<float> DecodeWholeFile(const std::string& fileName, int* channels)
{
    std::vector<float> pcm;
    mpg123_handle* h = mpg123_new(nullptr, nullptr);
    mpg123_param(h, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0);
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(h);
    mpg123_format_all(h);
    mpg123_format_none(h);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    if (mpg123_open(h, fileName.c_str()) != MPG123_OK) {
        ADD_FAILURE() << "libmpg123 cannot open " << fileName;
        mpg123_delete(h);
        return pcm;
    }
    for (;;) {
        off_t frame = 0;
        unsigned char* audio = nullptr;
        size_t bytes = 0;
        const int code = mpg123_decode_frame(h, &frame, &audio, &bytes);
        if (code == MPG123_DONE)
            break;
        if (code == MPG123_NEW_FORMAT)
            continue;
        if (code != MPG123_OK) {
            ADD_FAILURE() << "libmpg123: " << mpg123_strerror(h);
            break;
        }
        const float* f = reinterpret_cast<const float*>(audio);
        pcm.insert(pcm.end(), f, f + bytes / sizeof(float));
    }
    long rate = 0;
    int ch = 0, enc = 0;
    mpg123_getformat(h, &rate, &ch, &enc);
    if (channels != nullptr)
        *channels = ch;
    mpg123_close(h);
    mpg123_delete(h);
    return pcm;
}

namespace {

// The estimate read frame by frame after the walk, from the complete index:
// each frame's first bytes read on their own and handed to AppendFrameLevels.
TGranuleLevels SecondReadEstimate(const std::string& fileName, const TFrameIndex& index)
{
    TGranuleLevels result;
    if (index.Count() == 0)
        return result;
    TInputFile input(fileName);
    const TMpegHeader first = index.HeaderOf(0);
    result.MsPerGranule = first.DurationMs() / first.Granules();
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < index.Count(); ++i) {
        const TMpegHeader header = index.HeaderOf(i);
        // No more than each layer needs: a Layer III frame's side
        // information, a Layer I or II frame's scalefactors.
        bytes.resize(header.Layer() == 3 ? static_cast<size_t>(std::max(4, header.MainDataOffset()))
                                         : std::min(ScalefactorReach, static_cast<size_t>(header.FrameLength())));
        input.Seek(index.PositionOf(i), TSeekOrigin::Begin);
        bytes.resize(input.Read(bytes.data(), bytes.size()));
        AppendFrameLevels(bytes, header, result.Levels);
    }
    return result;
}

} // namespace

TGranuleLevels OpeningEstimate(const std::string& fileName)
{
    TRoruvoMP3 mp3;
    mp3.EstimateLevels = true;
    mp3.LoadFile(fileName);
    EXPECT_TRUE(mp3.Valid) << fileName;
    const TGranuleLevels again = SecondReadEstimate(fileName, mp3.Index());
    EXPECT_EQ(mp3.LevelEstimate().Levels, again.Levels) << fileName;
    EXPECT_EQ(mp3.LevelEstimate().MsPerGranule, again.MsPerGranule) << fileName;
    return mp3.LevelEstimate();
}

} // namespace vivizu::test

namespace vivizu {

TLevels DecodeLevels(const std::string& fileName, const TDecodeRange& range, int32_t blockSamples,
                     const TDecodeOptions& options, std::function<void(std::span<const float>)> pcm,
                     TSampleTrim trim)
{
    TLevels levels;
    std::vector<TLevelBlock> blocks;
    levels.Result = DecodeLevelBlocks(
        fileName, range, blockSamples, options, [&](const TLevelBlock& b) { blocks.push_back(b); }, std::move(pcm),
        trim);
    if (levels.Result.Status == TDecodeStatus::Done)
        levels.Blocks = std::move(blocks);
    return levels;
}

} // namespace vivizu
