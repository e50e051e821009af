// vivizu-cli split [options] FILE: consecutive pieces of FILE that together
// cover the whole stream, split at given times, every T, into N equal parts
// at a cue sheet's tracks or at the pauses between sounds.
#include "cli/Batch.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/cue/CueSheet.h"
#include "cli/CutTag.h"
#include "cli/DecodeRange.h"
#include "cli/Options.h"
#include "cli/Progress.h"
#include "request/PieceNames.h"
#include "request/RunOutputs.h"
#include "cli/SplitArgs.h"
#include "engine/RoruvoMp3.h"
#include "engine/TimeText.h"
#include "operations/Planner.h"
#include "operations/Runner.h"
#include "operations/SilencePieces.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace vivizu {
namespace {

// The split times of the mode asked for, the cue's tracks filling titles.
struct TSplitTimes {
    std::vector<TStreamTime> Times;
    bool DropEmpty = false;           // times that would make empty pieces are dropped
    std::vector<TCueTrack> CueTracks; // one per piece when split by a cue sheet
    std::string CueTitle, CuePerformer; // the sheet's album title and performer
    std::vector<std::string> Notes;     // what reading the sheet assumed
    std::string Declined;
};

TSplitTimes TimesOf(const TSplitArgs& args, const std::string& file, TStreamTime duration)
{
    TSplitTimes times;
    switch (args.Mode) {
    case TSplitMode::At:
        times.Times = args.At;
        break;
    case TSplitMode::Every:
        times.Times = SplitTimesEvery(duration, args.Every);
        times.DropEmpty = true;
        break;
    case TSplitMode::Parts:
        times.Times = SplitTimesParts(duration, args.Parts);
        times.DropEmpty = true;
        break;
    case TSplitMode::Silence: // planned from the decode, not from times
        break;
    case TSplitMode::Cue: {
        TCueSheet sheet = ReadCueSheet(args.CueFile, file, AnsiCodePage());
        times.Declined = sheet.Declined;
        times.CueTitle = sheet.Title;
        times.CuePerformer = sheet.Performer;
        times.Notes = std::move(sheet.Notes);
        // The first track begins with the stream: what lies before its
        // INDEX 01 stays in the first piece.
        for (size_t i = 1; i < sheet.Tracks.size(); ++i)
            times.Times.push_back(sheet.Tracks[i].Start);
        times.CueTracks = std::move(sheet.Tracks);
        break;
    }
    }
    return times;
}

std::string Ms(TStreamTime time)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.3f", time.Ms());
    return text;
}

// The pauses a silence split found, for the plan.
struct TFoundPauses {
    std::vector<TSilence> Pauses;
    int SampleRate = 0;
};

std::string DbText(double db)
{
    char text[24];
    std::snprintf(text, sizeof text, "%.1f", std::isfinite(db) ? db : -999.0);
    return text;
}

std::string SecondsText(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g s", seconds);
    return text;
}

// The plan as a table, or as JSON: spread over lines for one file, one
// line for each file of a batch (a stream of JSON lines).
std::string PlanText(const std::vector<TSplitPiece>& pieces, const std::string& file, bool json,
                     const TFoundPauses* found = nullptr, bool oneLine = false)
{
    std::ostringstream text;
    std::ostream& out = text;
    const auto at = [&](int64_t sample) { return TStreamTime::FromSamples(sample, found->SampleRate); };
    if (json) {
        const char* first = oneLine ? "" : "\n  ";
        const char* next = oneLine ? ", " : ",\n  ";
        const char* close = oneLine ? "]" : "\n]";
        out << "{" << JsonNameMembers("file", file) << ", ";
        if (found != nullptr) {
            out << "\"silences\": [";
            for (size_t i = 0; i < found->Pauses.size(); ++i) {
                const TSilence& p = found->Pauses[i];
                out << (i ? next : first) << "{\"start_ms\": " << Ms(at(p.Start)) << ", \"end_ms\": "
                    << Ms(at(p.End)) << ", \"level_db\": " << DbText(p.LevelDb) << "}";
            }
            out << close << ", ";
        }
        out << "\"pieces\": [";
        for (size_t i = 0; i < pieces.size(); ++i) {
            const TSplitRange& r = pieces[i].Range;
            out << (i ? next : first) << "{\"piece\": " << i + 1 << ", \"start_ms\": " << Ms(r.Start)
                      << ", \"end_ms\": " << Ms(r.End) << ", \"length_ms\": " << Ms(r.End - r.Start)
                      << ", " << JsonNameMembers("name", pieces[i].FileName) << "}";
        }
        out << close << "}";
        return text.str();
    }
    if (found != nullptr) {
        out << "pause  start          end            length         level (dBFS)\n";
        for (size_t i = 0; i < found->Pauses.size(); ++i) {
            const TSilence& p = found->Pauses[i];
            char number[24];
            std::snprintf(number, sizeof number, "%5zu", i + 1);
            out << number << "  " << FormatTimeText(at(p.Start).WholeMs()) << "  "
                << FormatTimeText(at(p.End).WholeMs()) << "  " << FormatTimeText((at(p.End) - at(p.Start)).WholeMs())
                << "  " << DbText(p.LevelDb) << '\n';
        }
        out << '\n';
    }
    out << "piece  start          end            length         name\n";
    for (size_t i = 0; i < pieces.size(); ++i) {
        const TSplitRange& r = pieces[i].Range;
        char number[24];
        std::snprintf(number, sizeof number, "%5zu", i + 1);
        out << number << "  " << FormatTimeText(r.Start.WholeMs()) << "  " << FormatTimeText(r.End.WholeMs())
                  << "  " << FormatTimeText((r.End - r.Start).WholeMs()) << "  " << pieces[i].FileName;
        if (i + 1 < pieces.size())
            out << '\n';
    }
    return text.str();
}

// What the split of one file says: the pieces as they are written, and its
// refusal or failure with its reason; with --json one line at the end.
class TFileReport {
public:
    TFileReport(const TSplitArgs& args, const std::string& file, TBatchOutput& out)
        : FJson(args.Json && !args.DryRun), FFile(file), FOut(out) {}

    void Written(const std::string& path)
    {
        FWritten.push_back(path);
        if (!FJson)
            FOut.Out(path);
        FOut.PieceDone();
    }
    int Ends(int code, const std::string& reason)
    {
        if (FJson)
            FOut.Out(OutcomeJson(FFile, OutcomeOfExit(code), FWritten, reason));
        else if (code != ExitOk)
            FOut.Error(reason);
        return code;
    }

private:
    bool FJson;
    std::string FFile;
    TBatchOutput& FOut;
    std::vector<std::string> FWritten;
};

// The job of a split of mp3 into pieces with the options of the command line.
TJob SplitJobOf(const TSplitArgs& args, TRoruvoMP3* mp3, std::vector<TSplitPiece> pieces)
{
    TJob job;
    job.Kind = args.Chapters.empty() ? TJobKind::Split : TJobKind::Chapters;
    job.Sources.push_back({mp3, 0, INT32_MAX, {}});
    job.Choices = args.Choices;
    job.NormalizeTogether = args.NormalizeAll;
    job.Pieces = std::move(pieces);
    job.Output = args.Chapters;
    job.CueSheet = args.WriteCue;
    return job;
}

// Instead of pieces, a copy of the file with a chapter for each piece.
int WriteChapters(const TSplitArgs& args, const std::string& file, TRoruvoMP3& mp3,
                  const std::vector<TSplitPiece>& pieces, const std::vector<TCueTrack>& cue, TFileReport& report,
                  TBatchOutput& out)
{
    if (args.DryRun) {
        out.Out(PlanText(pieces, file, args.Json, nullptr, args.Files.size() > 1));
        return ExitOk;
    }
    TJob job = SplitJobOf(args, &mp3, {});
    for (size_t i = 0; i < pieces.size(); ++i) {
        const auto ms = [](TStreamTime t) { return static_cast<uint32_t>(std::min<int64_t>(RoundedMs(t), UINT32_MAX)); };
        job.ChapterMarks.push_back(
            {ms(pieces[i].Range.Start), ms(pieces[i].Range.End), i < cue.size() ? cue[i].Title : ""});
    }
    const TJobReport result = RunJob(job);
    if (!result.Ok())
        return report.Ends(ExitOf(result.Result.Status), result.Result.Message + "; nothing written");
    report.Written(args.Chapters);
    return report.Ends(ExitOk, "");
}

// One file's split as planned before anything of the run is written.
struct TSplitPlan {
    int Code = ExitOk;                 // not ExitOk: declined or failed with Reason
    std::string Reason;
    std::unique_ptr<TRoruvoMP3> Mp3;   // released between planning and writing in a batch
    int64_t Size = -1, MTimeNs = -1;   // the file as planned
    std::vector<TSplitPiece> Pieces;
    std::vector<std::string> Names;
    TFoundPauses Found;
    std::vector<TCueTrack> CueTracks;
    std::string CueTitle, CuePerformer;  // the sheet's album title and performer
    std::vector<std::string> Notes;      // what reading the cue sheet assumed

    static TSplitPlan Ends(int code, std::string reason)
    {
        TSplitPlan plan;
        plan.Code = code;
        plan.Reason = std::move(reason);
        return plan;
    }
};

// The size and modification time of the file at path; -1 when unknown.
void StateOf(const std::string& path, int64_t& size, int64_t& mtimeNs)
{
    struct stat st {};
    size = mtimeNs = -1;
    if (stat(path.c_str(), &st) == 0) {
        size = st.st_size;
        mtimeNs = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
    }
}

// Plans the split of one file of the command line: its pieces, their names
// and tags, checked on their own; nothing is written.
TSplitPlan PlanSplitFile(const TSplitArgs& args, const std::string& file)
{
    TSplitPlan plan;
    StateOf(file, plan.Size, plan.MTimeNs);
    plan.Mp3 = std::make_unique<TRoruvoMP3>();
    TRoruvoMP3& mp3 = *plan.Mp3;
    try {
        mp3.LoadFile(file); // the whole index: it gives every split point
    } catch (const std::exception& e) {
        return TSplitPlan::Ends(ExitIoError, e.what());
    }
    if (!mp3.Valid)
        return TSplitPlan::Ends(ExitDeclined, file + ": not an MP3 stream; nothing written");
    // What the stream cannot take (a volume change or a header on Layers I
    // and II) is refused before the pieces are planned or a folder made.
    if (const std::optional<TCutResult> refusal = CheckJob(SplitJobOf(args, &mp3, {})))
        return TSplitPlan::Ends(ExitOf(refusal->Status), refusal->Message + "; nothing written");
    const TFrameIndex& index = mp3.Index();
    // Exact pieces are measured on the timeline players play: equal parts
    // of what they play, not of the frames with the encoder's delay.
    TStreamTime duration = index.Duration();
    if (args.Choices.ExactCut) {
        try {
            duration = mp3.GaplessDuration();
        } catch (const std::exception& e) {
            return TSplitPlan::Ends(ExitIoError, e.what());
        }
    }
    TSplitTimes times = TimesOf(args, file, duration);
    if (!times.Declined.empty())
        return TSplitPlan::Ends(ExitDeclined, times.Declined + "; nothing written");
    plan.Notes = std::move(times.Notes);
    TSplitRanges ranges;
    if (args.Mode == TSplitMode::Silence) {
        TDecodeOptions decode;
        decode.Threads = args.Threads;
        // One file's search shows its own progress; a batch has its line.
        const TMpegHeader first = index.HeaderOf(0);
        TProgressLine progress("split: finding pauses",
                               static_cast<int64_t>(index.Count()) * first.SamplesPerFrame(),
                               args.Files.size() == 1 && !args.Quiet);
        decode.SamplesDone = &progress.Done();
        TSilencePieces found = FindSilencePieces(file, index, args.Silence, args.KeepSilence, args.Choices.ExactCut, decode);
        if (found.Result.Status != TDecodeStatus::Done)
            return TSplitPlan::Ends(found.Result.Status == TDecodeStatus::ReadError ? ExitIoError : ExitDeclined,
                                    file + ": " + found.Result.Message + "; nothing written");
        TSilencePlan& silencePlan = found.Plan;
        if (silencePlan.Pauses.empty() && found.SilentThroughout)
            return TSplitPlan::Ends(ExitDeclined, file + ": the file is silent throughout (below " +
                                                      DbText(args.Silence.ThresholdDb) +
                                                      " dBFS); there is no sound to split; nothing written");
        if (silencePlan.Pauses.empty())
            return TSplitPlan::Ends(ExitDeclined, file + ": no silence found (below " +
                                                      DbText(args.Silence.ThresholdDb) + " dBFS for at least " +
                                                      SecondsText(args.Silence.MinLengthSeconds) +
                                                      "); nothing written");
        ranges = std::move(silencePlan.Ranges);
        plan.Found = {std::move(silencePlan.Pauses), found.SampleRate};
    } else {
        ranges = args.Choices.ExactCut ? PlanExactSplit(duration, times.Times, times.DropEmpty)
                            : PlanPlainSplit(index, times.Times, times.DropEmpty);
    }
    if (!ranges.Declined.empty())
        return TSplitPlan::Ends(ExitDeclined, file + ": " + ranges.Declined + "; nothing written");

    const int codePage = AnsiCodePage();
    const std::string sourceTitle = mp3.Info.ID3v1Size == 128 ? AnsiToUtf8(TagFieldText(mp3.Info.Tag.Title), codePage) : "";
    const std::string sourceArtist = mp3.Info.ID3v1Size == 128 ? AnsiToUtf8(TagFieldText(mp3.Info.Tag.Artist), codePage) : "";
    // The cue's title, performer and album title fill what the options
    // leave unset, in the names and the tags alike.
    TPieceNaming naming;
    naming.Template = args.Template;
    naming.Folder = args.Folder;
    naming.SourceName = BaseName(file);
    std::vector<TTagEdits> extras;
    for (size_t i = 0; i < ranges.Pieces.size(); ++i) {
        const TCueTrack* cue = i < times.CueTracks.size() ? &times.CueTracks[i] : nullptr;
        naming.Titles.push_back(args.Choices.Edits.Title ? *args.Choices.Edits.Title
                                : cue && !cue->Title.empty() ? cue->Title
                                                             : sourceTitle);
        naming.Artists.push_back(args.Choices.Edits.Artist ? *args.Choices.Edits.Artist
                                 : cue && !cue->Performer.empty() ? cue->Performer
                                                                  : sourceArtist);
        TTagEdits extra;
        if (cue != nullptr && !cue->Title.empty()) extra.Title = cue->Title;
        if (cue != nullptr && !cue->Performer.empty()) extra.Artist = cue->Performer;
        if (cue != nullptr && !times.CueTitle.empty()) extra.Album = times.CueTitle;
        extras.push_back(std::move(extra));
    }
    const TPieceTagging tagging{args.Choices.Mode, args.Choices.Edits, args.TrackStart, args.TrackStartSet};
    TPlannedPieces planned = PlanPieces(mp3.Info, ranges.Pieces, naming, tagging, extras, codePage);
    plan.Pieces = std::move(planned.Pieces);
    plan.Names = std::move(planned.Names);
    plan.CueTracks = std::move(times.CueTracks);
    plan.CueTitle = times.CueTitle;
    plan.CuePerformer = times.CuePerformer;
    if (args.Chapters.empty())
        if (const auto refusal = CheckPieceNames(plan.Names, args.Folder, true))
            return TSplitPlan::Ends(ExitDeclined, *refusal + "; nothing written");
    return plan;
}

// The files the plan writes, for the check of the whole run.
void AddOutputs(const TSplitArgs& args, const TSplitPlan& plan, size_t input, std::vector<TRunOutput>& outputs)
{
    if (plan.Code != ExitOk)
        return;
    const std::vector<TRunOutput> own = JobOutputs(SplitJobOf(args, nullptr, plan.Pieces), input);
    outputs.insert(outputs.end(), own.begin(), own.end());
}

// Writes what was planned for one file, after the whole run was checked.
int WriteSplitPlan(const TSplitArgs& args, const std::string& file, TSplitPlan& plan, TBatchOutput& out)
{
    TFileReport report(args, file, out);
    if (plan.Code != ExitOk)
        return report.Ends(plan.Code, plan.Reason);
    if (!plan.Mp3) {
        // A batch's files are loaded again to be written; the plan holds
        // only while the file is as it was planned.
        int64_t size = -1, mtime = -1;
        StateOf(file, size, mtime);
        plan.Mp3 = std::make_unique<TRoruvoMP3>();
        try {
            if (size == plan.Size && mtime == plan.MTimeNs)
                plan.Mp3->LoadFile(file);
        } catch (const std::exception& e) {
            return report.Ends(ExitIoError, e.what());
        }
        if (!plan.Mp3->Valid || size != plan.Size || mtime != plan.MTimeNs)
            return report.Ends(ExitIoError, file + ": the file changed during the run; nothing written");
    }
    if (!args.Quiet)
        for (const std::string& note : plan.Notes)
            out.Error("note: " + note);
    TRoruvoMP3& mp3 = *plan.Mp3;
    std::vector<TSplitPiece>& pieces = plan.Pieces;
    if (!args.Chapters.empty())
        return WriteChapters(args, file, mp3, pieces, plan.CueTracks, report, out);
    if (args.DryRun) {
        out.Out(PlanText(pieces, file, args.Json, args.Mode == TSplitMode::Silence ? &plan.Found : nullptr,
                         args.Files.size() > 1));
        return ExitOk;
    }

    TJob job = SplitJobOf(args, &mp3, pieces);
    if (!args.WriteCue.empty()) {
        std::vector<TCueTrack> tracks;
        for (size_t i = 0; i < pieces.size(); ++i) {
            TCueTrack track;
            track.Start = pieces[i].Range.Start;
            track.Title = i < plan.CueTracks.size() ? plan.CueTracks[i].Title : "";
            track.Performer = i < plan.CueTracks.size() ? plan.CueTracks[i].Performer : "";
            tracks.push_back(std::move(track));
        }
        job.CueText = CueSheetText(file, tracks, plan.CueTitle, plan.CuePerformer);
    }
    TJobCallbacks callbacks;
    // One line for what was measured: the piece's name (or "all pieces")
    // first, so that a batch's lines tell whose they are.
    callbacks.Measured = [&](const std::string& what, const TNormalization& n) {
        if (n.Measured() && !args.Json && !args.Quiet)
            out.Out("normalize: " + what + ": " + PieceNormalizationText(n));
    };
    // Each piece is listed once it is in place, so that an interrupted
    // split still tells which pieces are complete.
    callbacks.Written = [&](size_t i) { report.Written(pieces[i].FileName); };
    TJobReport result;
    try {
        result = RunJob(job, callbacks);
    } catch (const std::exception& e) {
        return report.Ends(ExitIoError, file + ": " + e.what() + "; nothing written");
    }
    if (result.Stage == TJobStage::Plan)
        return report.Ends(ExitDeclined, result.Result.Message + "; nothing written");
    if (result.Stage == TJobStage::Measure)
        return report.Ends(ExitIoError,
                           file + ": measuring the loudness failed: " + result.MeasureMessage + "; nothing written");
    if (result.Stage == TJobStage::CueSheet)
        return report.Ends(ExitIoError, result.CueFailure + "; the pieces are written");
    if (result.CueWritten)
        out.Out(args.WriteCue);
    const TCutResult& failure = result.Result;
    const size_t written = result.Written.size();
    if (failure.Ok())
        return report.Ends(ExitOk, "");
    const std::string before = written == 0   ? "; nothing written"
                               : written == 1 ? "; the piece listed before it is complete"
                                              : "; the " + std::to_string(written) +
                                                           " pieces listed before it are complete";
    return report.Ends(ExitOf(failure.Status),
                       failure.Message + before + " (of " + std::to_string(pieces.size()) + ")");
}

} // namespace

int RunSplit(const std::vector<std::string>& argv)
{
    TSplitArgs args;
    if (const auto error = ParseSplitArgs(argv, args)) return UsageError("split: " + *error);
    if (args.Help) {
        PrintUsage(std::cout);
        return ExitOk;
    }
    if (const auto error = PrepareOutputFolder(args.Folder, false)) {
        PrintError(*error);
        return ExitIoError;
    }
    const size_t count = args.Files.size();
    std::vector<int64_t> sizes;
    int64_t total = 0;
    for (const std::string& file : args.Files) {
        struct stat st {};
        sizes.push_back(stat(file.c_str(), &st) == 0 ? st.st_size : 0);
        total += sizes.back();
    }
    const unsigned workers = count == 1 ? 1 : std::thread::hardware_concurrency();

    // Every file is planned before any is written, so that the outputs of
    // the whole run are checked together.
    std::vector<TSplitPlan> plans(count);
    RunBatch(count, workers, [&](size_t i) {
        plans[i] = PlanSplitFile(args, args.Files[i]);
        if (count > 1)
            plans[i].Mp3.reset(); // a batch holds its plans, not every file's index
        return ExitOk;
    });
    std::vector<TRunOutput> outputs;
    for (size_t i = 0; i < count; ++i)
        AddOutputs(args, plans[i], i, outputs);
    const TRunCheck check = CheckRunOutputs(args.Files, outputs, args.Force);
    for (size_t i = 0; i < count; ++i)
        if (plans[i].Code == ExitOk && !check.Refused.empty())
            plans[i] = TSplitPlan::Ends(ExitDeclined, check.Refused + "; nothing written");
        else if (plans[i].Code == ExitOk && !check.Declined[i].empty())
            plans[i] = TSplitPlan::Ends(ExitDeclined, check.Declined[i] + "; nothing written");

    // A folder that is not there yet is made once the run is known to
    // write into it.
    const bool writes = std::any_of(plans.begin(), plans.end(), [](const TSplitPlan& p) { return p.Code == ExitOk; });
    if (writes && !args.DryRun && args.Chapters.empty())
        if (const auto error = PrepareOutputFolder(args.Folder, true)) {
            PrintError(*error);
            return ExitIoError;
        }
    TBatchOutput out(count, count == 1 ? 0 : total, count > 1 && !args.Quiet && !args.DryRun);
    const int worst = RunBatch(count, workers, [&](size_t i) {
        const int code = WriteSplitPlan(args, args.Files[i], plans[i], out);
        plans[i] = {};
        if (count > 1)
            out.FileDone(sizes[i], args.Files[i], code);
        return code;
    });
    out.Summary();
    return worst;
}

} // namespace vivizu
