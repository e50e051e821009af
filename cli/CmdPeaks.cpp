// vivizu-cli peaks FILE [--pixels-per-second N | --samples-per-pixel N]
// [-b 8|16] [--split-channels] [--estimate] [-o OUT.json|OUT.dat]: waveform
// data of the decoded stream, per pixel the lowest and highest sample; with
// --estimate from the frames' side information, without decoding.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DecodeRange.h"
#include "cli/Options.h"
#include "engine/io/FileStream.h"
#include "engine/io/SameFile.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/SideInfoLevels.h"
#include "engine/decode/Waveform.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>
#include <iostream>
#include <unistd.h>

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
    // The picture never replaces the file it is of, by any name.
    if (!out.empty() && AreSameFile(out, file)) {
        PrintError("peaks: " + out + ": is the input file; it is not overwritten; nothing written");
        return ExitDeclined;
    }

    // The pixels go out as the decode measures them: the command holds the
    // frame index and a bounded piece of the output, whatever the length.
    std::unique_ptr<TOutputFile> output;
    std::atomic<bool> stop{false};
    std::string writeError;
    const auto write = [&](std::string_view bytes) {
        if (stop)
            return;
        try {
            if (output) {
                output->Write(bytes.data(), bytes.size());
                return;
            }
            // Straight to the descriptor, so that the system's own reason
            // reaches the user ("No space left on device").
            for (size_t at = 0; at < bytes.size();) {
                const ssize_t n = ::write(STDOUT_FILENO, bytes.data() + at, bytes.size() - at);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0) {
                    writeError = std::string("cannot write: ") + std::strerror(n < 0 ? errno : EIO);
                    break;
                }
                at += static_cast<size_t>(n);
            }
        } catch (const std::exception& e) {
            writeError = e.what();
        }
        if (!writeError.empty())
            stop = true;
    };
    const auto openOutput = [&]() -> std::optional<int> {
        if (out.empty())
            return std::nullopt;
        try {
            // A failure or a signal leaves no partial file behind.
            output = std::make_unique<TOutputFile>(out);
        } catch (const std::exception& e) {
            PrintError(std::string("peaks: ") + e.what());
            return ExitIoError;
        }
        return std::nullopt;
    };
    const auto waveformOf = [&](const TPcmFormat& format, int samplesPerPixel) {
        TWaveform w;
        w.SampleRate = format.SampleRate;
        w.SamplesPerPixel = samplesPerPixel;
        w.Channels = parsed.Has(OptSplit) ? format.Channels : 1;
        w.Bits = bits;
        return w;
    };

    std::optional<TWaveformWriter> writer;
    if (parsed.Has(OptEstimate)) {
        TLevels levels;
        int samplesPerPixel = DefaultSamplesPerPixel;
        if (const auto code = EstimateBlocks(file, spp, pps, levels, samplesPerPixel)) return *code;
        if (const auto code = openOutput()) return *code;
        writer.emplace(waveformOf(levels.Result.Format, samplesPerPixel), levels.Blocks.size(), dat, write);
        for (const TLevelBlock& block : levels.Blocks)
            writer->Add(block);
    } else {
        TCliRange range;
        if (const auto code = ResolveRange(file, std::nullopt, std::nullopt, "peaks", range)) return *code;
        TPcmFormat format;
        try {
            TInputFile input(file);
            format = FrameFormatAt(input, range.Starts()[0]);
        } catch (const std::exception& e) {
            PrintError(e.what());
            return ExitIoError;
        }
        const int samplesPerPixel = spp ? *spp : pps ? std::max(1, format.SampleRate / *pps) : DefaultSamplesPerPixel;
        // Every frame gives its header's samples: the pixel count is known
        // before the decode.
        int64_t samples = 0;
        const TFrameIndex& index = range.Source->Index();
        // A damaged stretch may hold positions without a frame header,
        // which the decode passes over: they give no samples.
        try {
            TInputFile frames(file);
            for (size_t i = range.First; i < range.Last; ++i)
                if (FrameFormatAt(frames, index.PositionOf(i)).Channels != 0)
                    samples += index.HeaderOf(i).SamplesPerFrame();
        } catch (const std::exception& e) {
            PrintError(e.what());
            return ExitIoError;
        }
        // The samples players play: without the encoder's delay and padding.
        samples = std::max<int64_t>(0, samples - range.Trim.Skip);
        if (range.Trim.Keep >= 0)
            samples = std::min(samples, range.Trim.Keep);
        if (const auto code = openOutput()) return *code;
        writer.emplace(waveformOf(format, samplesPerPixel),
                       static_cast<size_t>((samples + samplesPerPixel - 1) / samplesPerPixel), dat, write);
        options.Cancel = &stop;
        const TDecodeResult result = DecodeLevelBlocks(
            file, range.Range(), samplesPerPixel, options, [&](const TLevelBlock& block) { writer->Add(block); }, {},
            range.Trim);
        if (writeError.empty() && result.Status != TDecodeStatus::Done) return ReportDecodeFailure("peaks", result);
    }
    const bool complete = writer->Finish();
    if (writeError.empty() && !complete)
        writeError = "the decode gave another number of pixels than its frames announced";
    if (!writeError.empty()) {
        PrintError("peaks: " + writeError);
        return ExitIoError;
    }
    if (output) {
        try {
            output->Commit();
        } catch (const std::exception& e) {
            PrintError(std::string("peaks: ") + e.what());
            return ExitIoError;
        }
    }
    return ExitOk;
}

} // namespace vivizu
