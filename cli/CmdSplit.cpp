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
#include "request/PieceNames.h"
#include "cli/SplitArgs.h"
#include "engine/RoruvoMp3.h"
#include "engine/TimeText.h"
#include "engine/cut/SilenceSplit.h"
#include "engine/decode/StreamSilences.h"
#include "engine/cut/Normalize.h"
#include "engine/decode/SelectionLoudness.h"
#include "engine/io/FileStream.h"
#include "platform/CodePage.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <iostream>
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

std::string PlanText(const std::vector<TSplitPiece>& pieces, const std::string& file, bool json,
                     const TFoundPauses* found = nullptr)
{
    std::ostringstream text;
    std::ostream& out = text;
    const auto at = [&](int64_t sample) { return TStreamTime::FromSamples(sample, found->SampleRate); };
    if (json) {
        out << "{\"file\": " << JsonString(file) << ", ";
        if (found != nullptr) {
            out << "\"silences\": [";
            for (size_t i = 0; i < found->Pauses.size(); ++i) {
                const TSilence& p = found->Pauses[i];
                out << (i ? ",\n  " : "\n  ") << "{\"start_ms\": " << Ms(at(p.Start)) << ", \"end_ms\": "
                    << Ms(at(p.End)) << ", \"level_db\": " << DbText(p.LevelDb) << "}";
            }
            out << "\n], ";
        }
        out << "\"pieces\": [";
        for (size_t i = 0; i < pieces.size(); ++i) {
            const TSplitRange& r = pieces[i].Range;
            out << (i ? ",\n  " : "\n  ") << "{\"piece\": " << i + 1 << ", \"start_ms\": " << Ms(r.Start)
                      << ", \"end_ms\": " << Ms(r.End) << ", \"length_ms\": " << Ms(r.End - r.Start)
                      << ", \"name\": " << JsonString(pieces[i].FileName) << "}";
        }
        out << "\n]}";
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

// The ID3v1 tag of piece i: the cut's tag options, the cue's title,
// performer and album title, and the track number when a tag is written at
// all.
TID3v1Tag PieceTag(const TSplitArgs& args, const TMp3StreamInfo& info, const TCueTrack* cue,
                   const std::string& cueAlbum, size_t i, int codePage)
{
    TTagEdits edits = args.Edits;
    if (cue != nullptr) {
        if (!edits.Title && !cue->Title.empty()) edits.Title = cue->Title;
        if (!edits.Artist && !cue->Performer.empty()) edits.Artist = cue->Performer;
        if (!edits.Album && !cueAlbum.empty()) edits.Album = cueAlbum;
    }
    const bool tagged = args.TagMode == TTagMode::Always ||
                        (args.TagMode == TTagMode::FromSource &&
                         (info.ID3v1Size == 128 || edits.Any() || args.TrackStartSet));
    if (tagged)
        edits.Track = args.TrackStart + static_cast<int>(i);
    return BuildCutTag(info, args.TagMode, edits, codePage);
}

// Writes text to path through the safe output path; an error text when it
// cannot.
std::optional<std::string> WriteTextFile(const std::string& path, const std::string& text)
{
    try {
        TOutputFile output(path);
        output.Write(text.data(), text.size());
        output.Commit();
    } catch (const std::system_error& e) {
        return path + ": " + e.code().message();
    }
    return std::nullopt;
}

// One file's outcome as one JSON line.
std::string JsonOutcome(const std::string& file, int code, const std::vector<std::string>& written,
                        const std::string& reason)
{
    std::string line = "{\"file\": " + JsonString(file) + ", \"status\": \"" +
                       (code == ExitOk ? "done" : code == ExitDeclined ? "declined" : "failed") + "\", \"written\": [";
    for (size_t i = 0; i < written.size(); ++i)
        line += (i ? ", " : "") + JsonString(written[i]);
    return line + "], \"reason\": " + JsonString(reason) + "}";
}

int ExitOf(TCutStatus status)
{
    switch (status) {
    case TCutStatus::Done: return ExitOk;
    case TCutStatus::NotAnalysed:
    case TCutStatus::OutputIsInput:
    case TCutStatus::NothingToCut:
    case TCutStatus::NotApplicable:
        return ExitDeclined;
    default:
        return ExitIoError;
    }
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
            FOut.Out(JsonOutcome(FFile, code, FWritten, reason));
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

// Instead of pieces, a copy of the file with a chapter for each piece.
int WriteChapters(const TSplitArgs& args, const std::string& file, TRoruvoMP3& mp3,
                  const std::vector<TSplitPiece>& pieces, const std::vector<TCueTrack>& cue, TFileReport& report,
                  TBatchOutput& out)
{
    struct stat st {};
    if (!args.Force && lstat(args.Chapters.c_str(), &st) == 0)
        return report.Ends(ExitDeclined, args.Chapters + ": exists already; --force replaces it; nothing written");
    if (args.DryRun) {
        out.Out(PlanText(pieces, file, args.Json));
        return ExitOk;
    }
    std::vector<TChapter> chapters;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const auto ms = [](TStreamTime t) { return static_cast<uint32_t>(std::min<int64_t>(RoundedMs(t), UINT32_MAX)); };
        chapters.push_back({ms(pieces[i].Range.Start), ms(pieces[i].Range.End), i < cue.size() ? cue[i].Title : ""});
    }
    const TCutResult result = mp3.WriteChapters(chapters, args.Chapters);
    if (!result.Ok())
        return report.Ends(ExitOf(result.Status), result.Message + "; nothing written");
    report.Written(args.Chapters);
    return report.Ends(ExitOk, "");
}

// Splits one file of the command line.
// Measures every piece (or with --normalize-all the whole stream, which the
// pieces cover) and gives each its steps; one line per piece through out.
std::optional<std::string> NormalizePieces(const TSplitArgs& args, TRoruvoMP3& mp3, std::vector<TSplitPiece>& pieces,
                                           TBatchOutput& out)
{
    const auto measure = [&](int64_t startMs, int64_t endMs, TNormalizeSteps& steps) -> std::optional<std::string> {
        const TLoudnessResult measured =
            MeasureSelectionLoudness(mp3, static_cast<int32_t>(startMs), static_cast<int32_t>(endMs));
        if (measured.Result.Status != TDecodeStatus::Done && measured.Result.Status != TDecodeStatus::EmptyRange)
            return "measuring the loudness failed: " + measured.Result.Message;
        steps = NormalizeSteps(measured.Loudness, *args.NormalizeLufs, args.AllowClipping);
        char line[160];
        std::snprintf(line, sizeof line, "normalize: %.2f LUFS, true peak %.2f dBTP: %d steps of 1.5 dB%s",
                      measured.Loudness.IntegratedLufs, measured.Loudness.TruePeakDbtp, steps.Steps,
                      steps.PeakLimited ? " (lowered to keep -1 dBTP)" : "");
        if (!args.Json && !args.Quiet)
            out.Out(line);
        return std::nullopt;
    };
    try {
        if (args.NormalizeAll) {
            TNormalizeSteps steps;
            if (auto failure = measure(0, INT32_MAX, steps)) return failure;
            for (TSplitPiece& piece : pieces)
                piece.GainSteps = steps.Steps;
            return std::nullopt;
        }
        for (TSplitPiece& piece : pieces) {
            TNormalizeSteps steps;
            const int64_t endMs = piece.Range.ToEnd ? INT32_MAX : piece.Range.End.WholeMs();
            if (auto failure = measure(piece.Range.Start.WholeMs(), endMs, steps)) return failure;
            piece.GainSteps = steps.Steps;
        }
    } catch (const std::exception& e) {
        return e.what();
    }
    return std::nullopt;
}

int SplitFile(const TSplitArgs& args, const std::string& file, TBatchOutput& out)
{
    TFileReport report(args, file, out);
    TRoruvoMP3 mp3;
    try {
        mp3.LoadFile(file); // the whole index: it gives every split point
    } catch (const std::exception& e) {
        return report.Ends(ExitIoError, e.what());
    }
    if (!mp3.Valid) {
        return report.Ends(ExitDeclined, file + ": not an MP3 stream; nothing written");
    }
    const TFrameIndex& index = mp3.Index();
    // Exact pieces are measured on the timeline players play: equal parts
    // of what they play, not of the frames with the encoder's delay.
    TStreamTime duration = index.Duration();
    if (args.Exact) {
        try {
            duration = mp3.GaplessDuration();
        } catch (const std::exception& e) {
            return report.Ends(ExitIoError, e.what());
        }
    }
    const TSplitTimes times = TimesOf(args, file, duration);
    if (!times.Declined.empty()) {
        return report.Ends(ExitDeclined, times.Declined + "; nothing written");
    }
    if (!args.Quiet)
        for (const std::string& note : times.Notes)
            out.Error("note: " + note);
    TSplitRanges ranges;
    TFoundPauses found;
    if (args.Mode == TSplitMode::Silence) {
        TDecodeOptions decode;
        decode.Threads = args.Threads;
        const TStreamSilences silences = FindStreamSilences(file, index, args.Silence, decode);
        if (silences.Result.Status != TDecodeStatus::Done)
            return report.Ends(silences.Result.Status == TDecodeStatus::ReadError ? ExitIoError : ExitDeclined,
                               file + ": " + silences.Result.Message + "; nothing written");
        TSilencePlan plan = PlanSilenceSplit(index, silences.Silences, silences.SampleRate, args.KeepSilence, args.Exact);
        if (plan.Pauses.empty())
            return report.Ends(ExitDeclined, file + ": no silence found (below " + DbText(args.Silence.ThresholdDb) +
                                                 " dBFS for at least " +
                                                 SecondsText(args.Silence.MinLengthSeconds) + "); nothing written");
        ranges = std::move(plan.Ranges);
        found = {std::move(plan.Pauses), silences.SampleRate};
    } else {
        ranges = args.Exact ? PlanExactSplit(duration, times.Times, times.DropEmpty)
                            : PlanPlainSplit(index, times.Times, times.DropEmpty);
    }
    if (!ranges.Declined.empty()) {
        return report.Ends(ExitDeclined, file + ": " + ranges.Declined + "; nothing written");
    }

    const int codePage = AnsiCodePage();
    const std::string sourceTitle = mp3.Info.ID3v1Size == 128 ? AnsiToUtf8(TagFieldText(mp3.Info.Tag.Title), codePage) : "";
    const std::string sourceArtist = mp3.Info.ID3v1Size == 128 ? AnsiToUtf8(TagFieldText(mp3.Info.Tag.Artist), codePage) : "";
    std::vector<TSplitPiece> pieces;
    std::vector<std::string> names;
    for (size_t i = 0; i < ranges.Pieces.size(); ++i) {
        const TCueTrack* cue = i < times.CueTracks.size() ? &times.CueTracks[i] : nullptr;
        TPieceFields fields;
        fields.Number = static_cast<int>(i) + 1;
        fields.Count = static_cast<int>(ranges.Pieces.size());
        fields.Name = BaseName(file);
        fields.Title = args.Edits.Title ? *args.Edits.Title : cue && !cue->Title.empty() ? cue->Title : sourceTitle;
        fields.Artist = args.Edits.Artist ? *args.Edits.Artist
                        : cue && !cue->Performer.empty() ? cue->Performer
                                                         : sourceArtist;
        fields.Start = ranges.Pieces[i].Start;
        fields.End = ranges.Pieces[i].End;
        names.push_back(PieceName(args.Template, fields));
        pieces.push_back({ranges.Pieces[i], args.Folder == "." ? names.back() : args.Folder + "/" + names.back(),
                          PieceTag(args, mp3.Info, cue, times.CueTitle, i, codePage)});
    }
    if (!args.Chapters.empty())
        return WriteChapters(args, file, mp3, pieces, times.CueTracks, report, out);
    if (const auto refusal = CheckPieceNames(names, args.Folder, args.Force))
        return report.Ends(ExitDeclined, *refusal + "; nothing written");
    struct stat cueStat {};
    if (!args.WriteCue.empty() && !args.Force && lstat(args.WriteCue.c_str(), &cueStat) == 0)
        return report.Ends(ExitDeclined, args.WriteCue + ": exists already; --force replaces it; nothing written");
    if (args.DryRun) {
        out.Out(PlanText(pieces, file, args.Json, args.Mode == TSplitMode::Silence ? &found : nullptr));
        return ExitOk;
    }

    if (args.NormalizeLufs) {
        if (mp3.Info.Layer != 3)
            return report.Ends(ExitDeclined,
                               file + ": loudness normalisation works on Layer III streams only; nothing written");
        if (const auto failure = NormalizePieces(args, mp3, pieces, out))
            return report.Ends(ExitIoError, file + ": " + *failure + "; nothing written");
    }
    TCutOptions options;
    options.KeepID3v2 = args.KeepID3v2;
    options.LengthHeader = args.LengthHeader;
    options.ExactCut = args.Exact;
    options.TagTextToUtf8 = [codePage](std::string_view text) { return AnsiToUtf8(text, codePage); };
    // Each piece is listed once it is in place, so that an interrupted
    // split still tells which pieces are complete.
    const TSplitResult result = mp3.WriteSplit(pieces, options,
                                               [&](size_t i) { report.Written(pieces[i].FileName); });
    const TCutResult& failure = result.Failure;
    if (failure.Ok() && !args.WriteCue.empty()) {
        std::vector<TCueTrack> tracks;
        for (size_t i = 0; i < pieces.size(); ++i) {
            TCueTrack track;
            track.Start = pieces[i].Range.Start;
            track.Title = i < times.CueTracks.size() ? times.CueTracks[i].Title : "";
            track.Performer = i < times.CueTracks.size() ? times.CueTracks[i].Performer : "";
            tracks.push_back(std::move(track));
        }
        if (const auto error = WriteTextFile(args.WriteCue, CueSheetText(file, tracks, times.CueTitle, times.CuePerformer)))
            return report.Ends(ExitIoError, *error + "; the pieces are written");
        out.Out(args.WriteCue);
    }
    if (failure.Ok())
        return report.Ends(ExitOk, "");
    const std::string before = result.Written == 0 ? "; nothing written"
                                                   : "; the " + std::to_string(result.Written) +
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
    struct stat folder {};
    if (stat(args.Folder.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
        PrintError(args.Folder + ": no such folder; nothing written");
        return ExitIoError;
    }
    if (args.Files.size() == 1) {
        TBatchOutput out(1, 0, false);
        return SplitFile(args, args.Files[0], out);
    }
    std::vector<int64_t> sizes;
    int64_t total = 0;
    for (const std::string& file : args.Files) {
        struct stat st {};
        sizes.push_back(stat(file.c_str(), &st) == 0 ? st.st_size : 0);
        total += sizes.back();
    }
    TBatchOutput out(args.Files.size(), total, !args.Quiet && !args.DryRun);
    return RunBatch(args.Files.size(), std::thread::hardware_concurrency(), [&](size_t i) {
        const int code = SplitFile(args, args.Files[i], out);
        out.FileDone(sizes[i]);
        return code;
    });
}

} // namespace vivizu
