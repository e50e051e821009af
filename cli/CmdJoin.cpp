// vivizu-cli join -o OUT FILE[:START-END]...: the files (or ranges of them)
// one after another in one new file, frames copied byte for byte, with one
// length header, the first file's tags and a chapter per file when asked.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/Options.h"
#include "engine/RoruvoMp3.h"
#include "engine/TimeText.h"
#include "operations/Planner.h"
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
    OptHelp = FirstOptionId, OptOutput, OptForce, OptLengthHeader, OptKeepID3v2, OptChapters, OptNoTag,
};
constexpr TOptionDef JoinOptions[] = {
    {"help", false, OptHelp, 'h'},          {"output", true, OptOutput, 'o'},
    {"force", false, OptForce},             {"length-header", false, OptLengthHeader},
    {"keep-id3v2", false, OptKeepID3v2},    {"chapters", false, OptChapters},
    {"no-tag", false, OptNoTag},
};

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

int Refused(const std::string& message, int code)
{
    PrintError(message + "; nothing written");
    return code;
}

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
    bool force = false, noTag = false;
    TJob job;
    job.Kind = TJobKind::Join;
    for (const auto& [id, value] : parsed.Options) {
        switch (id) {
        case OptOutput: out = value; break;
        case OptForce: force = true; break;
        case OptLengthHeader: job.Choices.LengthHeader = true; break;
        case OptKeepID3v2: job.Choices.KeepID3v2 = true; break;
        case OptChapters: job.JoinChapters = true; break;
        case OptNoTag: noTag = true; break;
        default: break;
        }
    }
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
    const TRunCheck check = CheckRunOutputs(files, JobOutputs(job, 0), force);
    if (!check.Refused.empty()) return Refused("join: " + check.Refused, ExitDeclined);
    if (!check.Declined.empty() && !check.Declined.front().empty())
        return Refused("join: " + check.Declined.front(), ExitDeclined);

    std::vector<std::unique_ptr<TRoruvoMP3>> mp3s;
    for (const TJoinOperand& operand : operands) {
        auto mp3 = std::make_unique<TRoruvoMP3>();
        try {
            mp3->LoadFile(operand.File, false);
        } catch (const std::exception& e) {
            return Refused(e.what(), ExitIoError);
        }
        if (!mp3->Valid) return Refused(operand.File + ": not an MP3 stream", ExitDeclined);
        job.Sources.push_back({mp3.get(), operand.StartMs, operand.EndMs, {}});
        job.ChapterTitles.push_back(BaseName(operand.File));
        mp3s.push_back(std::move(mp3));
    }
    job.Choices.Mode = noTag ? TTagMode::Never : TTagMode::FromSource;

    const TCutResult result = RunJob(job).Result;
    switch (result.Status) {
    case TCutStatus::Done: return ExitOk;
    case TCutStatus::ReadError:
    case TCutStatus::WriteError: PrintError("join failed: " + result.Message); return ExitIoError;
    default: return Refused("join: " + result.Message, ExitOf(result.Status));
    }
    return ExitOk;
}

} // namespace vivizu
