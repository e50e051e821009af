// vivizu-cli loudness [--json] FILE [START END]: EBU R128 figures and the
// ReplayGain 2.0 track gain of the stream or of a range.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/DecodeRange.h"
#include "cli/Options.h"
#include "cli/Progress.h"
#include "engine/TimeText.h"
#include "engine/decode/Loudness.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

namespace vivizu {
namespace {

// Two decimals; "-inf" (lines) or null (JSON) for the figures of silence.
std::string Figure(double v, bool json)
{
    if (!std::isfinite(v))
        return json ? "null" : "-inf";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

} // namespace

int RunLoudness(const std::vector<std::string>& args)
{
    enum : int { OptHelp = FirstOptionId, OptJson, OptThreads };
    constexpr TOptionDef defs[] = {
        {"help", false, OptHelp, 'h'}, {"json", false, OptJson}, {"threads", true, OptThreads}};
    TParsedOptions parsed;
    if (const auto error = ParseOptions(args, defs, parsed)) return UsageError("loudness: " + *error);
    if (parsed.Has(OptHelp)) {
        PrintUsage(std::cout);
        return ExitOk;
    }
    TDecodeOptions options;
    for (const auto& [id, value] : parsed.Options) {
        if (id != OptThreads) continue;
        const auto threads = ParseThreads(value);
        if (!threads) return UsageError("loudness: --threads expects a number from 1 to 256, not '" + value + "'");
        options.Threads = *threads;
    }
    const auto& ops = parsed.Operands;
    if (ops.size() != 1 && ops.size() != 3) return UsageError("loudness: expects FILE [START END]");
    std::optional<int64_t> start, end;
    if (ops.size() == 3) {
        start = ParseTimeText(ops[1]);
        end = ParseTimeText(ops[2]);
        if (!start) return UsageError("loudness: START '" + ops[1] + "' is not a time");
        if (!end) return UsageError("loudness: END '" + ops[2] + "' is not a time");
    }
    TCliRange range;
    if (const auto code = ResolveRange(ops[0], start, end, "loudness", range)) return *code;

    // The samples players play: without the encoder's delay and padding.
    const int samplesPerFrame = range.Source->Index().HeaderOf(range.First).SamplesPerFrame();
    auto progress = std::make_unique<TProgressLine>("loudness",
                                                    static_cast<int64_t>(range.Last - range.First) * samplesPerFrame);
    options.SamplesDone = &progress->Done();
    const TLoudnessResult measured = MeasureLoudness(ops[0], range.Range(), options, range.Trim, samplesPerFrame);
    progress.reset(); // the line is gone before the figures
    options.SamplesDone = nullptr;
    if (measured.Result.Status != TDecodeStatus::Done) return ReportDecodeFailure("loudness", measured.Result);

    const bool json = parsed.Has(OptJson);
    const TLoudness& l = measured.Loudness;
    const std::pair<const char*, std::string> fields[] = {
        {"StartMs", std::to_string(range.StartMs)},
        {"EndMs", std::to_string(range.EndMs)},
        {"IntegratedLufs", Figure(l.IntegratedLufs, json)},
        {"LoudnessRangeLu", Figure(l.RangeLu, json)},
        {"TruePeakDbtp", Figure(l.TruePeakDbtp, json)},
        {"SamplePeakDbfs", Figure(l.SamplePeakDbfs, json)},
        {"TrackGainDb", Figure(l.TrackGainDb, json)},
    };
    if (json) {
        std::cout << "{\n";
        for (size_t i = 0; i < std::size(fields); ++i)
            std::cout << "  \"" << fields[i].first << "\": " << fields[i].second
                      << (i + 1 < std::size(fields) ? ",\n" : "\n");
        std::cout << "}\n";
    } else {
        for (const auto& [key, value] : fields)
            std::cout << key << ": " << value << '\n';
    }
    errno = 0;
    std::cout.flush();
    if (!std::cout) {
        PrintError("loudness: cannot write the report: " + std::string(std::strerror(errno != 0 ? errno : EIO)));
        return ExitIoError;
    }
    return ExitOk;
}

} // namespace vivizu
