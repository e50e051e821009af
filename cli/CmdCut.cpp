// vivizu-cli cut [tag options] FILE OUT START END: frames from START to END
// of FILE copied into OUT, with or without an ID3v1 tag; with -d DIR the
// same cut of every FILE into DIR, the files in parallel.
#include "cli/Batch.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/CutTag.h"
#include "cli/Options.h"
#include "cli/Progress.h"
#include "cli/TagOptions.h"
#include "cli/VolumeOptions.h"
#include "request/PieceNames.h"
#include "request/RunOutputs.h"
#include "engine/TimeText.h"
#include "engine/RoruvoMp3.h"
#include "engine/cut/GainPlan.h"
#include "engine/cut/Normalize.h"
#include "operations/Job.h"
#include "operations/Planner.h"
#include "operations/Runner.h"
#include "platform/CodePage.h"
#include "request/CutRequest.h"
#include "request/EditList.h"
#include "platform/SmallFile.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <exception>
#include <iostream>
#include <sys/stat.h>
#include <thread>

namespace vivizu {
namespace {

struct TCutArgs {
    TCutChoices Choices;
    TTagArgs Tags;
    bool GainAsked = false;
    std::vector<std::string> Operands; // FILE OUT START END, or FILE... START END with a folder
    std::optional<std::string> Folder; // -d: the batch form
    std::string Template = "{name} {start}-{end}.mp3";
    bool Force = false, Json = false, Quiet = false;
};

enum TCutOption : int {
    OptHelp = FirstOptionId, OptKeepID3v2, OptLengthHeader, OptExact, OptFolder,
    OptTemplate, OptForce, OptJson, OptQuiet, OptRemove, OptRemoveEdl, OptChapters,
};
constexpr TOptionDef CutOwnOptions[] = {
    {"help", false, OptHelp, 'h'}, {"keep-id3v2", false, OptKeepID3v2},
    {"length-header", false, OptLengthHeader},                     {"exact", false, OptExact},
    {"dir", true, OptFolder, 'd'}, {"output", true, OptTemplate, 'o'}, {"force", false, OptForce},
    {"json", false, OptJson},      {"quiet", false, OptQuiet, 'q'},
    {"remove", true, OptRemove},   {"remove-edl", true, OptRemoveEdl},
    {"chapters", false, OptChapters},
};
constexpr auto CutOptions = WithOptions(CutOwnOptions, VolumeOptionDefs, JoinFadeOptionDefs, TagFieldOptionDefs,
                                            TrackOptionDefs);

std::optional<int32_t> ParseCutTime(const std::string& text);

// Fills args from the command line; an error text when it is not usable.
std::optional<std::string> ParseArgs(const TParsedOptions& parsed, TCutArgs& args)
{
    TCutChoices& c = args.Choices;
    for (const auto& [id, value] : parsed.Options) {
        switch (id) {
        case OptKeepID3v2: c.KeepID3v2 = true; break;
        case OptLengthHeader: c.LengthHeader = true; break;
        case OptExact: c.ExactCut = true; break;
        case OptChapters: c.StretchChapters = true; break;
        case OptRemove: {
            const auto stretch = ParseStretch(value);
            if (!stretch)
                return "--remove expects T1-T2 with T2 after T1 (a bare number is milliseconds: "
                       "1.5 or 0:01.5 for seconds), not '" + value + "'";
            c.Removed.push_back(*stretch);
            NoteBareMilliseconds("--remove", value.substr(0, value.find('-')));
            NoteBareMilliseconds("--remove", value.substr(value.find('-') + 1));
            break;
        }
        case OptRemoveEdl: {
            // An edit list is text of a line a stretch: a few megabytes at most.
            const TSmallFileRead read = ReadSmallFile(value, 16u << 20);
            if (!read.Text)
                return "--remove-edl: " + value + ": " +
                       (read.Refusal.empty() ? std::string("cannot be read") : read.Refusal);
            const TEditList list = ParseEditList(*read.Text);
            if (!list.Error.empty()) return "--remove-edl: " + value + ": " + list.Error;
            c.Removed.insert(c.Removed.end(), list.Removed.begin(), list.Removed.end());
            break;
        }
        case OptFolder: args.Folder = value; break;
        case OptTemplate: args.Template = value; break;
        case OptForce: args.Force = true; break;
        case OptJson: args.Json = true; break;
        case OptQuiet: args.Quiet = true; break;
        default:
            if (auto error = ReadVolumeOption(id, value, c)) return error;
            if (auto error = ReadTagOption(id, value, args.Tags)) return error;
            break;
        }
    }
    args.GainAsked = parsed.Has(VolOptGain);
    args.Operands = parsed.Operands;
    if (c.AllowClipping && !c.NormalizeLufs) return "--allow-clipping goes with --normalize";
    if (c.JoinFadeMs > 0 && c.Removed.empty()) return "--join-fade goes with --remove or --remove-edl";
    if (c.StretchChapters && c.Removed.empty()) return "--chapters goes with --remove or --remove-edl";
    if (auto error = TagModeOf(args.Tags, c.Mode)) return error;
    c.Edits = args.Tags.Edits;
    if (!args.Folder) {
        if (parsed.Has(OptTemplate) || args.Force || args.Json || args.Quiet)
            return "-o, --force, --json and --quiet go with -d DIR";
        if (args.Operands.size() != 4) return "expects FILE OUT START END";
    } else {
        if (args.Operands.size() < 3) return "with -d DIR expects FILE... START END";
        if (const auto error = CheckPieceTemplate(args.Template)) return error;
        const size_t files = args.Operands.size() - 2;
        if (files > 1 && args.Template.find("{name}") == std::string::npos)
            return "with several files the name template needs {name}";
        for (size_t i = 0; i < files; ++i)
            for (size_t j = 0; j < i; ++j)
                if (BaseName(args.Operands[i]) == BaseName(args.Operands[j]))
                    return "'" + args.Operands[j] + "' and '" + args.Operands[i] +
                           "' have the same name; their cuts would too";
    }
    return std::nullopt;
}

std::optional<int32_t> ParseCutTime(const std::string& text)
{
    const auto ms = ParseTimeText(text);
    if (!ms || *ms > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(*ms);
}

// How one file's cut ended, as a line of its own (JSON with --json).
int FileEnds(const TCutArgs& args, const std::string& file, const std::string& target, int code,
             const std::string& reason, TBatchOutput& output)
{
    if (args.Json)
        output.Out(OutcomeJson(file, OutcomeOfExit(code),
                               code == ExitOk ? std::vector<std::string>{target} : std::vector<std::string>{},
                               reason));
    else if (code != ExitOk)
        output.Error(reason);
    else if (args.Folder)
        output.Out(target);
    return code;
}

// The name of one file's cut in the batch's folder, or why it has none.
struct TCutTarget {
    int Code = ExitOk;
    std::string Path, Reason;
};

TCutTarget PlanCutTarget(const TCutArgs& args, const std::string& file, int32_t start, int32_t end)
{
    TCutTarget target;
    TRoruvoMP3 mp3;
    try {
        mp3.LoadFile(file, false); // the tag gives {title} and {artist}
    } catch (const std::exception& e) {
        return {ExitIoError, "", e.what()};
    }
    if (!mp3.Valid)
        return {ExitDeclined, "", file + ": not an MP3 stream; nothing written"};
    const int codePage = AnsiCodePage();
    TPieceFields fields;
    fields.Name = BaseName(file);
    if (mp3.Info.ID3v1Size == 128) {
        fields.Title = AnsiToUtf8(TagFieldText(mp3.Info.Tag.Title), codePage);
        fields.Artist = AnsiToUtf8(TagFieldText(mp3.Info.Tag.Artist), codePage);
    }
    fields.Start = TStreamTime::FromMs(start);
    fields.End = TStreamTime::FromMs(end);
    const std::string name = PieceName(args.Template, fields);
    if (const auto refusal = CheckPieceNames({name}, *args.Folder, true))
        return {ExitDeclined, "", file + ": " + *refusal + "; nothing written"};
    target.Path = *args.Folder == "." ? name : *args.Folder + "/" + name;
    return target;
}

// One file's cut into out; messages through output.
int CutFile(const TCutArgs& args, const std::string& file, const std::string& out, int32_t start, int32_t end,
            TBatchOutput& output)
{
    const std::string& target = out; // with a folder: the templated name in it
    const auto ends = [&](int code, const std::string& reason) {
        return FileEnds(args, file, target, code, reason, output);
    };
    TRoruvoMP3 mp3;
    try {
        // A cut needs no play length, so the walk over the whole file is skipped.
        mp3.LoadFile(file, false);
    } catch (const std::exception& e) {
        return ends(ExitIoError, e.what()); // names the file and the system's reason
    }
    if (!mp3.Valid)
        return ends(ExitDeclined, file + ": not an MP3 stream; nothing written");
    TCutChoices choices = args.Choices;
    choices.DeclineEmpty = true; // a cut without audio is refused, as play refuses
    // The measurement of a loudness target decodes the range: several
    // seconds for an hour, with a progress line on a terminal.
    std::optional<TProgressLine> progress;
    TJobCallbacks callbacks;
    callbacks.Measuring = [&](int64_t samples) {
        return &progress.emplace("cut: measuring the loudness", samples).Done();
    };
    callbacks.Measured = [&](const std::string&, const TNormalization&) { progress.reset(); };
    TJobReport report;
    try {
        report = RunJob(CutJob(mp3, start, end, choices, target), callbacks);
    } catch (const std::exception& e) {
        return ends(ExitIoError, e.what());
    }
    if (report.Stage == TJobStage::Plan)
        return ends(ExitDeclined, report.Result.Message + "; nothing written");
    if (report.Stage == TJobStage::Measure)
        return ends(ExitIoError,
                    file + ": measuring the loudness failed: " + report.MeasureMessage + "; nothing written");
    const TCutResult& result = report.Result;
    const std::string normalized =
        report.Normalized ? NormalizationLines(*report.Normalized, *choices.NormalizeLufs) : std::string();
    switch (result.Status) {
    case TCutStatus::Done:
        if (!args.Json) {
            const std::string lines = normalized + GainLines(result, args.GainAsked || choices.NormalizeLufs);
            if (!args.Folder) {
                std::cout << lines;
                break;
            }
            // The files of a folder's batch are cut in parallel: a file's
            // lines go out in one piece with its name after them, never
            // mixed with another file's, and clear of the progress line.
            output.Out(lines + target);
            return ExitOk;
        }
        break;
    case TCutStatus::NotAnalysed:
    case TCutStatus::OutputIsInput:
    case TCutStatus::NotApplicable:
        return ends(ExitDeclined, result.Message + "; nothing written");
    case TCutStatus::NothingToCut:
        return ends(ExitDeclined, (args.Folder ? file + ": " : std::string()) + result.Message + "; nothing written");
    case TCutStatus::InputGone:
    case TCutStatus::SourceChanged:
    case TCutStatus::DestinationNotWritable:
        return ends(ExitIoError, result.Message + "; nothing written");
    case TCutStatus::ReadError:
    case TCutStatus::WriteError:
        return ends(ExitIoError, "cut failed: " + result.Message);
    }
    return ends(ExitOk, "");
}

} // namespace

int RunCut(const std::vector<std::string>& argv)
{
    TParsedOptions parsed;
    if (const auto error = ParseOptions(argv, CutOptions, parsed)) return UsageError("cut: " + *error);
    if (parsed.Has(OptHelp)) {
        PrintUsage(std::cout);
        return ExitOk;
    }
    TCutArgs args;
    if (const auto error = ParseArgs(parsed, args)) return UsageError("cut: " + *error);
    const size_t n = args.Operands.size();
    const auto start = ParseCutTime(args.Operands[n - 2]);
    const auto end = ParseCutTime(args.Operands[n - 1]);
    if (!start) return UsageError("cut: START '" + args.Operands[n - 2] + "' is not a time");
    if (!end) return UsageError("cut: END '" + args.Operands[n - 1] + "' is not a time");
    if (!args.Folder) {
        TBatchOutput output(1, 0, false);
        return CutFile(args, args.Operands[0], args.Operands[1], *start, *end, output);
    }
    if (const auto error = PrepareOutputFolder(*args.Folder, false)) {
        PrintError(*error);
        return ExitIoError;
    }
    const std::vector<std::string> files(args.Operands.begin(), args.Operands.end() - 2);
    std::vector<int64_t> sizes;
    int64_t total = 0;
    for (const std::string& file : files) {
        struct stat st {};
        sizes.push_back(stat(file.c_str(), &st) == 0 ? st.st_size : 0);
        total += sizes.back();
    }
    // Every name is planned before any file is cut, so that the names of
    // the whole batch are checked together: none may be an input, none
    // may be given twice.
    std::vector<TCutTarget> targets(files.size());
    RunBatch(files.size(), std::thread::hardware_concurrency(), [&](size_t i) {
        targets[i] = PlanCutTarget(args, files[i], *start, *end);
        return ExitOk;
    });
    // The files each cut's job writes, as split and join name theirs.
    std::vector<TRunOutput> outputs;
    for (size_t i = 0; i < files.size(); ++i)
        if (targets[i].Code == ExitOk) {
            TJob job;
            job.Kind = TJobKind::Cut;
            job.Output = targets[i].Path;
            const std::vector<TRunOutput> own = JobOutputs(job, i);
            outputs.insert(outputs.end(), own.begin(), own.end());
        }
    const TRunCheck check = CheckRunOutputs(files, outputs, args.Force);
    for (size_t i = 0; i < files.size(); ++i)
        if (targets[i].Code == ExitOk && !check.Refused.empty())
            targets[i] = {ExitDeclined, targets[i].Path, check.Refused + "; nothing written"};
        else if (targets[i].Code == ExitOk && !check.Declined[i].empty())
            targets[i] = {ExitDeclined, targets[i].Path, files[i] + ": " + check.Declined[i] + "; nothing written"};

    // A folder that is not there yet is made once the batch is known to
    // write into it.
    if (std::any_of(targets.begin(), targets.end(), [](const TCutTarget& t) { return t.Code == ExitOk; }))
        if (const auto error = PrepareOutputFolder(*args.Folder, true)) {
            PrintError(*error);
            return ExitIoError;
        }
    TBatchOutput output(files.size(), total, !args.Quiet);
    const int worst = RunBatch(files.size(), std::thread::hardware_concurrency(), [&](size_t i) {
        const int code = targets[i].Code == ExitOk
                             ? CutFile(args, files[i], targets[i].Path, *start, *end, output)
                             : FileEnds(args, files[i], targets[i].Path, targets[i].Code, targets[i].Reason, output);
        if (code == ExitOk)
            output.PieceDone();
        output.FileDone(sizes[i], files[i], code);
        return code;
    });
    output.Summary();
    return worst;
}

} // namespace vivizu
