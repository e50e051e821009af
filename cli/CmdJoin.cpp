// vivizu-cli join -o OUT FILE[:START-END]...: the files (or ranges of them)
// one after another in one new file, frames copied byte for byte, with one
// length header, the first file's tags and a chapter per file when asked;
// the volume options change the joined whole as they change a cut.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/Options.h"
#include "cli/Progress.h"
#include "cli/TagOptions.h"
#include "cli/VolumeOptions.h"
#include "engine/RoruvoMp3.h"
#include "engine/TimeText.h"
#include "operations/Planner.h"
#include "operations/Report.h"
#include "operations/Runner.h"
#include "request/PieceNames.h"
#include "request/RunOutputs.h"

#include <climits>
#include <exception>
#include <iostream>
#include <memory>
#include <sys/stat.h>

namespace vivizu {
namespace {

enum TJoinOption : int {
    OptHelp = FirstOptionId, OptOutput, OptForce, OptLengthHeader, OptKeepID3v2, OptChapters, OptJson, OptQuiet,
};
constexpr TOptionDef JoinOwnOptions[] = {
    {"help", false, OptHelp, 'h'},          {"output", true, OptOutput, 'o'},
    {"force", false, OptForce},             {"length-header", false, OptLengthHeader},
    {"keep-id3v2", false, OptKeepID3v2},    {"chapters", false, OptChapters},
    {"json", false, OptJson},               {"quiet", false, OptQuiet, 'q'},
};
constexpr auto JoinOptions =
    WithOptions(JoinOwnOptions, VolumeOptionDefs, JoinFadeOptionDefs, TagFieldOptionDefs, TrackOptionDefs);

// One operand: a file and the range of it to take.
struct TJoinOperand {
    std::string File;
    int32_t StartMs = 0;
    int32_t EndMs = INT32_MAX;
};

std::optional<int32_t> TimeMs(const std::string& text)
{
    const auto ms = ParseTimeText(text);
    if (!ms || *ms > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(*ms);
}

// FILE or FILE:START-END. A name may hold ':' itself: an operand that names
// an existing file is that file, and otherwise only a suffix after a ':'
// that reads as START-END (times as cut reads them) is a range.
std::optional<TJoinOperand> ParseOperand(const std::string& operand)
{
    struct stat st {};
    if (stat(operand.c_str(), &st) == 0) return TJoinOperand{operand};
    for (size_t colon = operand.find(':'); colon != std::string::npos; colon = operand.find(':', colon + 1)) {
        const std::string range = operand.substr(colon + 1);
        // The dash between the times: times hold none themselves.
        const size_t dash = range.find('-');
        if (dash == std::string::npos || colon == 0) continue;
        const auto start = TimeMs(range.substr(0, dash));
        const auto end = TimeMs(range.substr(dash + 1));
        if (!start || !end) continue;
        if (*end <= *start) return std::nullopt;
        return TJoinOperand{operand.substr(0, colon), *start, *end};
    }
    return TJoinOperand{operand};
}

// How the join ended: the reason on stderr, or with --json the outcome
// line cut prints (the file it names is OUT, the one file a join is about).
struct TJoinEnds {
    std::string Out;
    bool Json = false;

    int operator()(int code, const std::string& reason) const
    {
        if (Json)
            std::cout << OutcomeJson(Out, OutcomeOfExit(code),
                                     code == ExitOk ? std::vector<std::string>{Out} : std::vector<std::string>{},
                                     reason)
                      << std::endl;
        else if (code != ExitOk)
            PrintError(reason);
        return code;
    }
};

} // namespace

int RunJoin(const std::vector<std::string>& argv)
{
    TParsedOptions parsed;
    if (const auto error = ParseOptions(argv, JoinOptions, parsed)) return UsageError("join: " + *error);
    if (parsed.Has(OptHelp)) {
        PrintUsage(std::cout);
        return ExitOk;
    }
    std::string out;
    bool force = false, json = false, quiet = false;
    TTagArgs tags;
    TJob job;
    job.Kind = TJobKind::Join;
    for (const auto& [id, value] : parsed.Options) {
        switch (id) {
        case OptOutput: out = value; break;
        case OptForce: force = true; break;
        case OptLengthHeader: job.Choices.LengthHeader = true; break;
        case OptKeepID3v2: job.Choices.KeepID3v2 = true; break;
        case OptChapters: job.JoinChapters = true; break;
        case OptJson: json = true; break;
        case OptQuiet: quiet = true; break;
        default:
            if (auto error = ReadVolumeOption(id, value, job.Choices)) return UsageError("join: " + *error);
            if (auto error = ReadTagOption(id, value, tags)) return UsageError("join: " + *error);
            break;
        }
    }
    if (job.Choices.AllowClipping && !job.Choices.NormalizeLufs)
        return UsageError("join: --allow-clipping goes with --normalize");
    if (auto error = TagModeOf(tags, job.Choices.Mode)) return UsageError("join: " + *error);
    job.Choices.Edits = tags.Edits;
    if (out.empty()) return UsageError("join: expects -o OUT");
    job.Output = out;
    if (parsed.Operands.size() < 2) return UsageError("join: expects two files or more");
    std::vector<TJoinOperand> operands;
    for (const std::string& operand : parsed.Operands) {
        const auto parsedOperand = ParseOperand(operand);
        if (!parsedOperand) return UsageError("join: '" + operand + "': the range's END is not after its START");
        operands.push_back(*parsedOperand);
    }

    // OUT is never one of the inputs, by any name; an existing OUT is
    // replaced only with --force.
    std::vector<std::string> files;
    for (const TJoinOperand& operand : operands)
        files.push_back(operand.File);
    const TJoinEnds ends{out, json};
    const auto refused = [&](const std::string& message, int code) {
        return ends(code, message + "; nothing written");
    };
    const TRunCheck check = CheckRunOutputs(files, JobOutputs(job, 0), force);
    if (!check.Refused.empty()) return refused("join: " + check.Refused, ExitDeclined);
    if (!check.Declined.empty() && !check.Declined.front().empty())
        return refused("join: " + check.Declined.front(), ExitDeclined);

    std::vector<std::unique_ptr<TRoruvoMP3>> mp3s;
    for (const TJoinOperand& operand : operands) {
        auto mp3 = std::make_unique<TRoruvoMP3>();
        try {
            mp3->LoadFile(operand.File, false);
        } catch (const std::exception& e) {
            return refused(e.what(), ExitIoError);
        }
        if (!mp3->Valid) return refused(operand.File + ": not an MP3 stream", ExitDeclined);
        job.Sources.push_back({mp3.get(), operand.StartMs, operand.EndMs, {}});
        job.ChapterTitles.push_back(BaseName(operand.File));
        mp3s.push_back(std::move(mp3));
    }

    // A loudness target measures all the ranges first: a progress line on
    // a terminal, unless --quiet.
    std::optional<TProgressLine> progress;
    TJobCallbacks callbacks;
    callbacks.Measuring = [&](int64_t samples) {
        return &progress.emplace("join: measuring the loudness", samples, !quiet).Done();
    };
    callbacks.Measured = [&](const std::string&, const TNormalization&) { progress.reset(); };
    TJobReport report;
    try {
        report = RunJob(job, callbacks);
    } catch (const std::exception& e) {
        return refused(e.what(), ExitIoError);
    }
    if (report.Stage == TJobStage::Measure)
        return refused("join: measuring the loudness failed: " + report.MeasureMessage, ExitIoError);
    const TCutResult& result = report.Result;
    switch (result.Status) {
    case TCutStatus::Done:
        if (!json)
            std::cout << (report.Normalized ? NormalizationLines(*report.Normalized, *job.Choices.NormalizeLufs)
                                            : std::string())
                      << GainLines(result, job.Choices.GainSteps != 0 || job.Choices.NormalizeLufs);
        return ends(ExitOk, "");
    case TCutStatus::ReadError:
    case TCutStatus::WriteError: return ends(ExitIoError, "join failed: " + result.Message);
    default: return refused("join: " + result.Message, ExitOf(result.Status));
    }
}

} // namespace vivizu
