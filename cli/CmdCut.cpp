// vivizu-cli cut [tag options] FILE OUT START END: frames from START to END
// of FILE copied into OUT, with or without an ID3v1 tag.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/Options.h"
#include "engine/TimeText.h"
#include "engine/RoruvoMp3.h"
#include "request/CutRequest.h"
#include "engine/cut/GainPlan.h"
#include "platform/CodePage.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <exception>
#include <iostream>

namespace vivizu {
namespace {

struct TCutArgs {
    TCutChoices Choices;
    bool TagSet = false, NoTagSet = false;
    std::vector<std::string> Operands; // FILE OUT START END
};

std::optional<int> ParseInt(std::string_view s)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return value;
}

enum TCutOption : int {
    OptHelp = FirstOptionId, OptTag, OptNoTag, OptTitle, OptArtist, OptAlbum, OptYear, OptComment,
    OptTrack, OptGenre, OptKeepID3v2, OptLengthHeader, OptExact, OptGain, OptFadeIn, OptFadeOut,
};
constexpr TOptionDef CutOptions[] = {
    {"help", false, OptHelp, 'h'}, {"tag", false, OptTag},         {"no-tag", false, OptNoTag},
    {"title", true, OptTitle},     {"artist", true, OptArtist},    {"album", true, OptAlbum},
    {"year", true, OptYear},       {"comment", true, OptComment},  {"track", true, OptTrack},
    {"genre", true, OptGenre},     {"keep-id3v2", false, OptKeepID3v2},
    {"length-header", false, OptLengthHeader},                     {"exact", false, OptExact},
    {"gain", true, OptGain},       {"fade-in", true, OptFadeIn},   {"fade-out", true, OptFadeOut},
};

// The most gain a cut offers either way, in dB: global_gain spans 255 steps.
constexpr double MaxGainDb = 255 * GainStepDb;

std::optional<int32_t> ParseCutTime(const std::string& text);

// Fills args from the command line; an error text when it is not usable.
std::optional<std::string> ParseArgs(const TParsedOptions& parsed, TCutArgs& args)
{
    TCutChoices& c = args.Choices;
    TTagEdits& e = c.Edits;
    for (const auto& [id, value] : parsed.Options) {
        switch (id) {
        case OptTag: args.TagSet = true; break;
        case OptNoTag: args.NoTagSet = true; break;
        case OptKeepID3v2: c.KeepID3v2 = true; break;
        case OptLengthHeader: c.LengthHeader = true; break;
        case OptExact: c.ExactCut = true; break;
        case OptTitle: e.Title = value; break;
        case OptArtist: e.Artist = value; break;
        case OptAlbum: e.Album = value; break;
        case OptYear: e.Year = value; break;
        case OptComment: e.Comment = value; break;
        case OptGain: {
            const auto db = ParseDecimal(value);
            if (!db || *db < -MaxGainDb || *db > MaxGainDb)
                return "--gain expects decibels from -382.5 to 382.5, not '" + value + "'";
            c.GainSteps = GainStepsForDb(*db);
            break;
        }
        case OptFadeIn:
        case OptFadeOut: {
            const auto ms = ParseCutTime(value);
            if (!ms)
                return std::string(id == OptFadeIn ? "--fade-in" : "--fade-out") + " expects a time, not '" +
                       value + "'";
            (id == OptFadeIn ? c.FadeInMs : c.FadeOutMs) = *ms;
            break;
        }
        case OptTrack:
            e.Track = ParseInt(value);
            if (!e.Track) return "--track expects a whole number, not '" + value + "'";
            break;
        case OptGenre:
            e.Genre = ParseInt(value);
            if (!e.Genre || *e.Genre < 0 || *e.Genre > 255)
                return "--genre expects a number from 0 to 255, not '" + value + "'";
            break;
        default: break;
        }
    }
    args.Operands = parsed.Operands;
    if (args.TagSet && args.NoTagSet) return "--tag and --no-tag exclude each other";
    if (args.NoTagSet && e.Any()) return "tag field options cannot go with --no-tag";
    if (args.Operands.size() != 4) return "expects FILE OUT START END";
    c.Mode = args.TagSet ? TTagMode::Always : args.NoTagSet ? TTagMode::Never : TTagMode::FromSource;
    return std::nullopt;
}

std::optional<int32_t> ParseCutTime(const std::string& text)
{
    const auto ms = ParseTimeText(text);
    if (!ms || *ms > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(*ms);
}

// The gain in whole steps, as applied, and the granules held at the ends of
// the gain's range.
void ReportGain(const TCutResult& result, bool asked)
{
    if (asked) {
        char db[32];
        std::snprintf(db, sizeof db, "%+.1f", result.GainSteps * GainStepDb);
        std::cout << "gain: " << result.GainSteps << " steps of 1.5 dB (" << db << " dB)\n";
    }
    if (result.ClampedHigh > 0)
        std::cout << "gain: " << result.ClampedHigh
                  << " granule gains would pass the loudest setting and were held at it\n";
    if (result.ClampedLow > 0)
        std::cout << "gain: " << result.ClampedLow
                  << " granule gains would pass the quietest setting and were held at it\n";
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
    const std::string& file = args.Operands[0];
    const std::string& out = args.Operands[1];
    const auto start = ParseCutTime(args.Operands[2]);
    const auto end = ParseCutTime(args.Operands[3]);
    if (!start) return UsageError("cut: START '" + args.Operands[2] + "' is not a time");
    if (!end) return UsageError("cut: END '" + args.Operands[3] + "' is not a time");

    TRoruvoMP3 mp3;
    try {
        // A cut needs no play length, so the walk over the whole file is skipped.
        mp3.LoadFile(file, false);
    } catch (const std::exception& e) {
        PrintError(e.what()); // names the file and the system's reason
        return ExitIoError;
    }
    if (!mp3.Valid) {
        PrintError(file + ": not an MP3 stream; nothing written");
        return ExitDeclined;
    }
    args.Choices.DeclineEmpty = true; // a cut without audio is refused, as play refuses
    const TCutRequest request = BuildCutRequest(mp3.Info, args.Choices, AnsiCodePage());
    const TCutResult result = mp3.CutSegment(*start, *end, out, request.Tag, request.Options);
    switch (result.Status) {
    case TCutStatus::Done:
        ReportGain(result, parsed.Has(OptGain));
        break;
    case TCutStatus::NotAnalysed:
    case TCutStatus::OutputIsInput:
    case TCutStatus::NothingToCut:
    case TCutStatus::NotApplicable:
        PrintError(result.Message + "; nothing written");
        return ExitDeclined;
    case TCutStatus::InputGone:
    case TCutStatus::SourceChanged:
    case TCutStatus::DestinationNotWritable:
        PrintError(result.Message + "; nothing written");
        return ExitIoError;
    case TCutStatus::ReadError:
    case TCutStatus::WriteError:
        PrintError("cut failed: " + result.Message);
        return ExitIoError;
    }
    return ExitOk;
}

} // namespace vivizu
