// vivizu-cli peaks FILE [--pixels-per-second N | --samples-per-pixel N]
// [-b 8|16] [--split-channels] [--estimate] [-o OUT.json|OUT.dat]: waveform
// data of the decoded stream, per pixel the lowest and highest sample; with
// --estimate from the frames' side information, without decoding.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DecodeRange.h"
#include "cli/Options.h"
#include "engine/io/FileStream.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/SideInfoLevels.h"
#include "engine/decode/Waveform.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <exception>
#include <iostream>

namespace vivizu {
namespace {

std::optional<int> ParsePositive(const std::string& s)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || value < 1) return std::nullopt;
    return value;
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

constexpr int DefaultSamplesPerPixel = 256;

// The side-information estimate of file, gathered by the one walk that
// opens it (no decode, no second pass), as level blocks of samplesPerPixel
// samples, or of the samples in pps pixels a second; an exit code (reported)
// when the file cannot be read or holds no stream.
std::optional<int> EstimateBlocks(const std::string& file, std::optional<int> spp, std::optional<int> pps,
                                  TLevels& levels, int& samplesPerPixel)
{
    try {
        TRoruvoMP3 mp3;
        mp3.EstimateLevels = true;
        mp3.LoadFile(file);
        const TFrameIndex& index = mp3.Index();
        if (!mp3.Valid || index.Count() == 0) {
            PrintError(file + ": not an MP3 stream");
            return ExitDeclined;
        }
        TInputFile input(file);
        levels.Result.Format = FrameFormatAt(input, index.PositionOf(0));
        samplesPerPixel = spp ? *spp : pps ? std::max(1, levels.Result.Format.SampleRate / *pps) : DefaultSamplesPerPixel;
        const TMpegHeader first = index.HeaderOf(0);
        // The samples players play, as the decoded waveform measures them.
        levels.Blocks = EstimatedLevelBlocks(mp3.LevelEstimate(), first.SamplesPerFrame() / first.Granules(),
                                             samplesPerPixel, GaplessTrimOf(file, index, 0, index.Count()));
        return std::nullopt;
    } catch (const std::exception& e) {
        PrintError(std::string("peaks: ") + e.what());
        return ExitIoError;
    }
}

} // namespace

int RunPeaks(const std::vector<std::string>& args)
{
    enum : int { OptHelp = FirstOptionId, OptPps, OptSpp, OptBits, OptOut, OptSplit, OptThreads, OptEstimate };
    constexpr TOptionDef defs[] = {
        {"help", false, OptHelp, 'h'},        {"pixels-per-second", true, OptPps},
        {"samples-per-pixel", true, OptSpp},  {"bits", true, OptBits, 'b'},
        {"output", true, OptOut, 'o'},        {"split-channels", false, OptSplit},
        {"threads", true, OptThreads},        {"estimate", false, OptEstimate},
    };
    TParsedOptions parsed;
    if (const auto error = ParseOptions(args, defs, parsed)) return UsageError("peaks: " + *error);
    if (parsed.Has(OptHelp)) {
        PrintUsage(std::cout);
        return ExitOk;
    }
    std::optional<int> pps, spp;
    int bits = 16;
    std::string out;
    TDecodeOptions options;
    for (const auto& [id, value] : parsed.Options) {
        switch (id) {
        case OptPps:
            pps = ParsePositive(value);
            if (!pps) return UsageError("peaks: --pixels-per-second expects a whole number above 0");
            break;
        case OptSpp:
            spp = ParsePositive(value);
            if (!spp) return UsageError("peaks: --samples-per-pixel expects a whole number above 0");
            break;
        case OptBits:
            if (value != "8" && value != "16") return UsageError("peaks: -b expects 8 or 16");
            bits = value == "8" ? 8 : 16;
            break;
        case OptOut: out = value; break;
        case OptThreads: {
            const auto threads = ParseThreads(value);
            if (!threads) return UsageError("peaks: --threads expects a number from 1 to 256");
            options.Threads = *threads;
            break;
        }
        default: break;
        }
    }
    if (pps && spp) return UsageError("peaks: --pixels-per-second and --samples-per-pixel exclude each other");
    if (parsed.Operands.size() != 1) return UsageError("peaks: expects one FILE");
    const bool dat = EndsWith(out, ".dat");
    if (!out.empty() && !dat && !EndsWith(out, ".json"))
        return UsageError("peaks: OUT must end in .json or .dat");
    const std::string& file = parsed.Operands[0];

    TLevels levels;
    int samplesPerPixel = DefaultSamplesPerPixel;
    if (parsed.Has(OptEstimate)) {
        if (const auto code = EstimateBlocks(file, spp, pps, levels, samplesPerPixel)) return *code;
    } else {
        TCliRange range;
        if (const auto code = ResolveRange(file, std::nullopt, std::nullopt, "peaks", range)) return *code;
        TPcmFormat format;
        try {
            TInputFile input(file);
            format = FrameFormatAt(input, range.Starts[0]);
        } catch (const std::exception& e) {
            PrintError(e.what());
            return ExitIoError;
        }
        samplesPerPixel = spp ? *spp : pps ? std::max(1, format.SampleRate / *pps) : DefaultSamplesPerPixel;
        // The samples players play: without the encoder's delay and padding.
        levels = DecodeLevels(file, range.Range(), samplesPerPixel, options, {}, range.Trim);
        if (levels.Result.Status != TDecodeStatus::Done) return ReportDecodeFailure("peaks", levels.Result);
    }
    const TWaveform waveform = BuildWaveform(levels.Blocks, levels.Result.Format, samplesPerPixel,
                                             parsed.Has(OptSplit) ? 2 : 1, bits);
    const std::string bytes = dat ? WaveformDat(waveform) : WaveformJson(waveform);
    if (out.empty()) {
        std::cout << bytes;
        errno = 0;
        std::cout.flush();
        if (!std::cout) {
            PrintError("peaks: cannot write: " + std::string(std::strerror(errno != 0 ? errno : EIO)));
            return ExitIoError;
        }
        return ExitOk;
    }
    try {
        // A failure or a signal leaves no partial file behind.
        TOutputFile output(out);
        output.Write(bytes.data(), bytes.size());
        output.Commit();
    } catch (const std::exception& e) {
        PrintError(std::string("peaks: ") + e.what());
        return ExitIoError;
    }
    return ExitOk;
}

} // namespace vivizu
