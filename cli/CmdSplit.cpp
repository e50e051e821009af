// vivizu-cli split [options] FILE: consecutive pieces of FILE that together
// cover the whole stream, split at given times, every T, into N equal parts
// or at a cue sheet's tracks.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/CueSheet.h"
#include "cli/CutTag.h"
#include "cli/Options.h"
#include "cli/PieceNames.h"
#include "cli/SplitArgs.h"
#include "engine/RoruvoMp3.h"
#include "engine/TimeText.h"
#include "platform/CodePage.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <sys/stat.h>

namespace vivizu {
namespace {

// The split times of the mode asked for, the cue's tracks filling titles.
struct TSplitTimes {
    std::vector<TStreamTime> Times;
    bool DropEmpty = false;           // times that would make empty pieces are dropped
    std::vector<TCueTrack> CueTracks; // one per piece when split by a cue sheet
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
    case TSplitMode::Cue: {
        TCueSheet sheet = ReadCueSheet(args.CueFile, file);
        times.Declined = sheet.Declined;
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

void PrintPlan(const std::vector<TSplitPiece>& pieces, const std::string& file, bool json)
{
    if (json) {
        std::cout << "{\"file\": " << JsonString(file) << ", \"pieces\": [";
        for (size_t i = 0; i < pieces.size(); ++i) {
            const TSplitRange& r = pieces[i].Range;
            std::cout << (i ? ",\n  " : "\n  ") << "{\"piece\": " << i + 1 << ", \"start_ms\": " << Ms(r.Start)
                      << ", \"end_ms\": " << Ms(r.End) << ", \"length_ms\": " << Ms(r.End - r.Start)
                      << ", \"name\": " << JsonString(pieces[i].FileName) << "}";
        }
        std::cout << "\n]}\n";
        return;
    }
    std::cout << "piece  start          end            length         name\n";
    for (size_t i = 0; i < pieces.size(); ++i) {
        const TSplitRange& r = pieces[i].Range;
        char number[24];
        std::snprintf(number, sizeof number, "%5zu", i + 1);
        std::cout << number << "  " << FormatTimeText(r.Start.WholeMs()) << "  " << FormatTimeText(r.End.WholeMs())
                  << "  " << FormatTimeText((r.End - r.Start).WholeMs()) << "  " << pieces[i].FileName << '\n';
    }
}

// The ID3v1 tag of piece i: the cut's tag options, the cue's title and
// performer, and the track number when a tag is written at all.
TID3v1Tag PieceTag(const TSplitArgs& args, const TMp3StreamInfo& info, const TCueTrack* cue, size_t i,
                   int codePage)
{
    TTagEdits edits = args.Edits;
    if (cue != nullptr) {
        if (!edits.Title && !cue->Title.empty()) edits.Title = cue->Title;
        if (!edits.Artist && !cue->Performer.empty()) edits.Artist = cue->Performer;
    }
    const bool tagged = args.TagMode == TTagMode::Always ||
                        (args.TagMode == TTagMode::FromSource &&
                         (info.ID3v1Size == 128 || edits.Any() || args.TrackStartSet));
    if (tagged)
        edits.Track = args.TrackStart + static_cast<int>(i);
    return BuildCutTag(info, args.TagMode, edits, codePage);
}

int Report(const TSplitResult& result, size_t count)
{
    const TCutResult& failure = result.Failure;
    if (failure.Ok())
        return ExitOk;
    const std::string written = result.Written == 0
                                    ? "; nothing written"
                                    : "; the " + std::to_string(result.Written) + " pieces listed before it were written";
    PrintError(failure.Message + written + " (of " + std::to_string(count) + ")");
    switch (failure.Status) {
    case TCutStatus::NotAnalysed:
    case TCutStatus::OutputIsInput:
    case TCutStatus::NothingToCut:
    case TCutStatus::NotApplicable:
        return ExitDeclined;
    default:
        return ExitIoError;
    }
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
    const std::string& file = args.File;
    struct stat folder {};
    if (stat(args.Folder.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
        PrintError(args.Folder + ": no such folder; nothing written");
        return ExitIoError;
    }

    TRoruvoMP3 mp3;
    try {
        mp3.LoadFile(file); // the whole index: it gives every split point
    } catch (const std::exception& e) {
        PrintError(e.what());
        return ExitIoError;
    }
    if (!mp3.Valid) {
        PrintError(file + ": not an MP3 stream; nothing written");
        return ExitDeclined;
    }
    const TFrameIndex& index = mp3.Index();
    const TSplitTimes times = TimesOf(args, file, index.Duration());
    if (!times.Declined.empty()) {
        PrintError(times.Declined + "; nothing written");
        return ExitDeclined;
    }
    const TSplitRanges ranges = args.Exact ? PlanExactSplit(index, times.Times, times.DropEmpty)
                                           : PlanPlainSplit(index, times.Times, times.DropEmpty);
    if (!ranges.Declined.empty()) {
        PrintError(file + ": " + ranges.Declined + "; nothing written");
        return ExitDeclined;
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
                          PieceTag(args, mp3.Info, cue, i, codePage)});
    }
    if (const auto refusal = CheckPieceNames(names, args.Folder, args.Force)) {
        PrintError(*refusal + "; nothing written");
        return ExitDeclined;
    }
    if (args.DryRun) {
        PrintPlan(pieces, file, args.Json);
        return ExitOk;
    }

    TCutOptions options;
    options.KeepID3v2 = args.KeepID3v2;
    options.LengthHeader = args.LengthHeader;
    options.ExactCut = args.Exact;
    options.TagTextToUtf8 = [codePage](std::string_view text) { return AnsiToUtf8(text, codePage); };
    // Each piece is listed once it is in place, so that an interrupted
    // split still tells which pieces are complete.
    const TSplitResult result = mp3.WriteSplit(pieces, options, [&pieces](size_t i) {
        std::cout << pieces[i].FileName << std::endl;
    });
    return Report(result, pieces.size());
}

} // namespace vivizu
