// vivizu-cli cut [tag options] FILE OUT START END: frames from START to END
// of FILE copied into OUT, with or without an ID3v1 tag.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/CutTag.h"
#include "cli/OutputCheck.h"
#include "engine/TimeText.h"
#include "engine/RoruvoMp3.h"
#include "platform/CodePage.h"

#include <charconv>
#include <climits>
#include <exception>
#include <iostream>

namespace vivizu {
namespace {

struct TCutArgs {
    TTagMode Mode = TTagMode::FromSource;
    bool TagSet = false, NoTagSet = false;
    TTagEdits Edits;
    TCutOptions Options;
    std::vector<std::string> Operands; // FILE OUT START END
};

std::optional<int> ParseInt(std::string_view s)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return value;
}

// Fills args from the command line; an error text when it is not usable.
std::optional<std::string> ParseArgs(const std::vector<std::string>& argv, TCutArgs& args)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            args.Operands.push_back(a);
            continue;
        }
        if (a == "--") { optionsEnded = true; continue; }
        if (a == "--tag") { args.TagSet = true; continue; }
        if (a == "--no-tag") { args.NoTagSet = true; continue; }
        if (a == "--keep-id3v2") { args.Options.KeepID3v2 = true; continue; }
        if (a == "--length-header") { args.Options.LengthHeader = true; continue; }
        if (a == "--exact") { args.Options.ExactCut = true; continue; }

        // Options with a value: "--name value" or "--name=value".
        std::string name = a, value;
        if (const auto eq = a.find('='); eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
        } else if (i + 1 < argv.size()) {
            value = argv[++i];
        } else {
            return "option '" + a + "' needs a value";
        }
        TTagEdits& e = args.Edits;
        if (name == "--title") e.Title = value;
        else if (name == "--artist") e.Artist = value;
        else if (name == "--album") e.Album = value;
        else if (name == "--year") e.Year = value;
        else if (name == "--comment") e.Comment = value;
        else if (name == "--track") {
            e.Track = ParseInt(value);
            if (!e.Track) return "--track expects a whole number, not '" + value + "'";
        } else if (name == "--genre") {
            e.Genre = ParseInt(value);
            if (!e.Genre || *e.Genre < 0 || *e.Genre > 255)
                return "--genre expects a number from 0 to 255, not '" + value + "'";
        } else {
            return "unknown option '" + name + "'";
        }
    }
    if (args.TagSet && args.NoTagSet) return "--tag and --no-tag exclude each other";
    if (args.NoTagSet && args.Edits.Any()) return "tag field options cannot go with --no-tag";
    if (args.Operands.size() != 4) return "expects FILE OUT START END";
    args.Mode = args.TagSet ? TTagMode::Always : args.NoTagSet ? TTagMode::Never : TTagMode::FromSource;
    return std::nullopt;
}

std::optional<int32_t> ParseCutTime(const std::string& text)
{
    const auto ms = ParseTimeText(text);
    if (!ms || *ms > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(*ms);
}

bool WantsHelp(const std::vector<std::string>& argv)
{
    for (const auto& a : argv) {
        if (a == "--") return false;
        if (a == "--help" || a == "-h") return true;
    }
    return false;
}

} // namespace

int RunCut(const std::vector<std::string>& argv)
{
    if (WantsHelp(argv)) {
        PrintUsage(std::cout);
        return ExitOk;
    }
    TCutArgs args;
    if (const auto error = ParseArgs(argv, args)) return UsageError("cut: " + *error);
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
    if (*end <= *start)
        PrintError("warning: END is not after START; " + out + " gets no audio");

    const int codePage = AnsiCodePage();
    const TID3v1Tag tag = BuildCutTag(mp3.Info, args.Mode, args.Edits, codePage);
    mp3.CutOptions = args.Options;
    mp3.CutOptions.TagTextToUtf8 = [codePage](std::string_view text) { return AnsiToUtf8(text, codePage); };
    bool written = false;
    try {
        written = mp3.SaveSegment(*start, *end, out, tag);
    } catch (const std::exception& e) {
        PrintError(std::string("cut failed: ") + e.what());
        return ExitIoError;
    }
    if (!written && !mp3.CutDeclined.empty()) {
        PrintError(out + ": " + mp3.CutDeclined + "; nothing written");
        return ExitDeclined;
    }
    if (!written) {
        PrintError(DeclineReason(file, out));
        return ExitDeclined;
    }
    return ExitOk;
}

} // namespace vivizu
