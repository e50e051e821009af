#include "cli/SplitArgs.h"

#include "cli/DecodeRange.h"
#include "cli/Options.h"
#include "cli/TagOptions.h"
#include "cli/VolumeOptions.h"
#include "request/PieceNames.h"
#include "engine/TimeText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vivizu {
namespace {

enum TSplitOption : int {
    OptHelp = FirstOptionId, OptAt, OptEvery, OptParts, OptCue, OptTrackStart, OptKeepID3v2, OptLengthHeader, OptExact,
    OptFolder, OptTemplate, OptForce, OptDryRun, OptJson, OptQuiet, OptWriteCue, OptChapters,
    OptSilence, OptThreshold, OptMinLength, OptKeepSilence, OptThreads,
    OptNormalizeAll,
};
constexpr TOptionDef SplitOwnOptions[] = {
    {"help", false, OptHelp, 'h'},   {"at", true, OptAt},           {"every", true, OptEvery},
    {"parts", true, OptParts},       {"cue", true, OptCue},
    {"track-start", true, OptTrackStart},
    {"keep-id3v2", false, OptKeepID3v2},                            {"length-header", false, OptLengthHeader},
    {"exact", false, OptExact},      {"dir", true, OptFolder, 'd'}, {"output", true, OptTemplate, 'o'},
    {"force", false, OptForce},      {"dry-run", false, OptDryRun}, {"json", false, OptJson},
    {"quiet", false, OptQuiet, 'q'},  {"write-cue", true, OptWriteCue},
    {"chapters", true, OptChapters}, {"silence", false, OptSilence}, {"threshold", true, OptThreshold},
    {"min-length", true, OptMinLength}, {"keep-silence", true, OptKeepSilence}, {"threads", true, OptThreads},
    {"normalize-all", false, OptNormalizeAll},
};
constexpr auto SplitOptions = WithOptions(SplitOwnOptions, VolumeOptionDefs, TagFieldOptionDefs);

std::optional<int> ParseInt(std::string_view s)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return value;
}

std::optional<std::string> ParseAt(const std::string& list, std::vector<TStreamTime>& at)
{
    size_t from = 0;
    for (;;) {
        const size_t comma = list.find(',', from);
        const std::string word = list.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        const auto ms = ParseTimeText(word);
        if (!ms) return "--at: '" + word + "' is not a time";
        const TStreamTime time = TStreamTime::FromMs(*ms);
        if (!at.empty() && time <= at.back()) return "--at: the times must grow ('" + word + "')";
        at.push_back(time);
        if (comma == std::string::npos) return std::nullopt;
        from = comma + 1;
    }
}

// A level in dBFS, from -120 to 0.
std::optional<double> ParseDb(const std::string& s)
{
    if (s.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(value) || value < -120.0 || value > 0.0) return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> ParseSplitArgs(const std::vector<std::string>& argv, TSplitArgs& args)
{
    TParsedOptions parsed;
    if (const auto error = ParseOptions(argv, SplitOptions, parsed)) return error;
    int modes = 0;
    bool silenceTuned = false;
    TTagArgs tags;
    for (const auto& [id, value] : parsed.Options) {
        switch (id) {
        case OptHelp: args.Help = true; return std::nullopt;
        case OptAt:
            ++modes;
            args.Mode = TSplitMode::At;
            if (auto error = ParseAt(value, args.At)) return error;
            break;
        case OptEvery: {
            ++modes;
            args.Mode = TSplitMode::Every;
            const auto ms = ParseTimeText(value);
            if (!ms || *ms <= 0) return "--every expects a time longer than 0, not '" + value + "'";
            NoteBareMilliseconds("--every", value);
            args.Every = TStreamTime::FromMs(*ms);
            break;
        }
        case OptParts: {
            ++modes;
            args.Mode = TSplitMode::Parts;
            const auto n = ParseInt(value);
            if (!n || *n < 1 || *n > 100000) return "--parts expects a number from 1 to 100000, not '" + value + "'";
            args.Parts = *n;
            break;
        }
        case OptCue:
            ++modes;
            args.Mode = TSplitMode::Cue;
            args.CueFile = value;
            break;
        case OptTrackStart: {
            const auto n = ParseInt(value);
            if (!n || *n < 0 || *n > 255) return "--track-start expects a number from 0 to 255, not '" + value + "'";
            args.TrackStart = *n;
            args.TrackStartSet = true;
            break;
        }
        case OptKeepID3v2: args.Choices.KeepID3v2 = true; break;
        case OptLengthHeader: args.Choices.LengthHeader = true; break;
        case OptExact: args.Choices.ExactCut = true; break;
        case OptFolder: args.Folder = value; break;
        case OptTemplate: args.Template = value; break;
        case OptForce: args.Force = true; break;
        case OptDryRun: args.DryRun = true; break;
        case OptJson: args.Json = true; break;
        case OptQuiet: args.Quiet = true; break;
        case OptWriteCue: args.WriteCue = value; break;
        case OptChapters: args.Chapters = value; break;
        case OptSilence:
            ++modes;
            args.Mode = TSplitMode::Silence;
            break;
        case OptThreshold: {
            silenceTuned = true;
            const auto db = ParseDb(value);
            if (!db) return "--threshold expects a level in dB from -120 to 0, not '" + value + "'";
            args.Silence.ThresholdDb = *db;
            break;
        }
        case OptMinLength: {
            silenceTuned = true;
            const auto ms = ParseTimeText(value);
            if (!ms || *ms <= 0) return "--min-length expects a time longer than 0, not '" + value + "'";
            NoteBareMilliseconds("--min-length", value);
            args.Silence.MinLengthSeconds = static_cast<double>(*ms) / 1000.0;
            break;
        }
        case OptKeepSilence: {
            silenceTuned = true;
            const auto ms = ParseTimeText(value);
            if (!ms || *ms < 0) return "--keep-silence expects a time, not '" + value + "'";
            NoteBareMilliseconds("--keep-silence", value);
            args.KeepSilence = TStreamTime::FromMs(*ms);
            break;
        }
        case OptThreads: {
            const auto threads = ParseThreads(value);
            if (!threads) return "--threads expects a number from 1 to 256";
            args.Threads = *threads;
            break;
        }
        case OptNormalizeAll: args.NormalizeAll = true; break;
        default:
            if (auto error = ReadVolumeOption(id, value, args.Choices)) return error;
            if (auto error = ReadTagOption(id, value, tags)) return error;
            break;
        }
    }
    if (modes != 1) return "expects exactly one of --at, --every, --parts, --cue, --silence";
    if (silenceTuned && args.Mode != TSplitMode::Silence)
        return "--threshold, --min-length and --keep-silence go with --silence";
    if ((args.NormalizeAll || args.Choices.AllowClipping) && !args.Choices.NormalizeLufs)
        return "--normalize-all and --allow-clipping go with --normalize";
    if (auto error = TagModeOf(tags, args.Choices.Mode)) return error;
    if (tags.NoTag && args.TrackStartSet) return "tag field options cannot go with --no-tag";
    args.Choices.Edits = tags.Edits;
    if (args.Folder.empty()) return "-d expects a folder";
    if (args.Template.empty()) args.Template = DefaultPieceTemplate;
    if (auto error = CheckPieceTemplate(args.Template)) return error;
    if (parsed.Operands.empty()) return "expects FILE";
    if (!args.WriteCue.empty() && parsed.Operands.size() > 1) return "--write-cue takes one FILE";
    if (!args.Chapters.empty() && parsed.Operands.size() > 1) return "--chapters takes one FILE";
    if (!args.Chapters.empty() && args.KeepSilence)
        return "--keep-silence drops audio; --chapters keeps it all";
    if (!args.Chapters.empty() && (parsed.Has(VolOptGain) || args.Choices.FadeInMs > 0 || args.Choices.FadeOutMs > 0))
        return "--gain, --fade-in and --fade-out change the pieces; --chapters copies the file";
    if (!args.Chapters.empty() && args.Choices.ExactCut) return "--chapters copies the file; --exact makes no sense with it";
    args.Files = parsed.Operands;
    if (args.Files.size() > 1 && args.Template.find("{name}") == std::string::npos)
        return "with several files the name template needs {name}";
    for (size_t i = 0; i < args.Files.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (BaseName(args.Files[i]) == BaseName(args.Files[j]))
                return "'" + args.Files[j] + "' and '" + args.Files[i] + "' have the same name; their pieces would too";
    return std::nullopt;
}

} // namespace vivizu
