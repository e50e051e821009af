// vivizu-cli info [--json] FILE: the engine's analysis of one file.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/CutTag.h"
#include "cli/Options.h"
#include "engine/TimeText.h"
#include "engine/RoruvoMp3.h"
#include "request/CutRequest.h"
#include "platform/CodePage.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <sstream>

namespace vivizu {
namespace {

// One line of the report; Quoted values are texts, the others are numbers
// or true/false and are written as they are.
struct TReportField {
    std::string Key;
    std::string Value;
    bool Quoted = false;
};
using TReport = std::vector<TReportField>;

// In the line format a control character would break a line apart.
std::string LineSafe(std::string s)
{
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return s;
}

void WriteLines(const TReport& report)
{
    for (const auto& f : report)
        std::cout << f.Key << ": " << (f.Quoted ? LineSafe(f.Value) : f.Value) << '\n';
}

void WriteJson(const TReport& report)
{
    std::cout << "{\n";
    for (std::size_t i = 0; i < report.size(); ++i) {
        const auto& f = report[i];
        std::cout << "  " << JsonString(f.Key) << ": " << (f.Quoted ? JsonString(f.Value) : f.Value)
                  << (i + 1 < report.size() ? ",\n" : "\n");
    }
    std::cout << "}\n";
}

std::string Bool(bool b) { return b ? "true" : "false"; }

// 1, 2, 2.5 or 0.
std::string VersionText(double version)
{
    std::ostringstream s;
    s << version;
    return s.str();
}

TReport BuildReport(const TRoruvoMP3& mp3, int codePage)
{
    TReport r;
    const auto num = [&r](const char* key, int64_t v) { r.push_back({key, std::to_string(v)}); };
    num("FileSize", mp3.FileSize);
    r.push_back({"Valid", Bool(mp3.Valid)});

    // Every analysis has these keys, so a script finds them also for a file
    // that is no MP3 stream; what the analysis did not reach reads 0.
    const TMp3StreamInfo& in = mp3.Info;
    r.push_back({"Version", VersionText(VersionNumber(in.Version))});
    num("Layer", in.Layer);
    num("Bitrate", in.Bitrate);
    num("SampleRate", in.SampleRate);
    r.push_back({"Mono", Bool(in.Mono)});
    num("ID3v2Size", in.ID3v2Size);
    num("LeadingZeros", in.LeadingZeros);
    num("ID3v1Size", in.ID3v1Size);
    num("APESize", in.APESize);
    num("LengthMs", in.LengthMs);
    r.push_back({"Length", FormatTimeText(in.LengthMs), true});
    if (in.ID3v1Size != 128) return r;

    const TID3v1Tag& t = in.Tag;
    const auto text = [&r, codePage](const char* key, const char* field, std::size_t size) {
        r.push_back({key, TagTextToUtf8(TagFieldText(field, size), codePage), true});
    };
    text("Title", t.Title, sizeof t.Title);
    text("Artist", t.Artist, sizeof t.Artist);
    text("Album", t.Album, sizeof t.Album);
    text("Year", t.Year, sizeof t.Year);
    text("Comment", t.Comment, sizeof t.Comment);
    num("Track", t.Track);
    num("Genre", t.Genre);
    r.push_back({"GenreName", t.Genre < ID3v1GenreCount ? ID3v1Genres[t.Genre] : "", true});
    return r;
}

} // namespace

int RunInfo(const std::vector<std::string>& args)
{
    enum : int { OptHelp = FirstOptionId, OptJson };
    constexpr TOptionDef defs[] = {{"help", false, OptHelp, 'h'}, {"json", false, OptJson}};
    TParsedOptions parsed;
    if (const auto error = ParseOptions(args, defs, parsed)) return UsageError("info: " + *error);
    if (parsed.Has(OptHelp)) {
        PrintUsage(std::cout);
        return ExitOk;
    }
    const bool json = parsed.Has(OptJson);
    if (parsed.Operands.size() != 1) return UsageError("info: expects one FILE");
    const std::string& file = parsed.Operands[0];

    TRoruvoMP3 mp3;
    try {
        mp3.LoadFile(file);
    } catch (const std::exception& e) {
        PrintError(e.what()); // names the file and the system's reason
        return ExitIoError;
    }

    const TReport report = BuildReport(mp3, AnsiCodePage());
    if (json) WriteJson(report);
    else WriteLines(report);
    // A report that did not reach its reader (a full disk, a closed pipe) is
    // a failure, not a result.
    errno = 0;
    std::cout.flush();
    if (!std::cout) {
        const int code = errno != 0 ? errno : EIO;
        PrintError("info: cannot write the report: " + std::string(std::strerror(code)));
        return ExitIoError;
    }
    if (!mp3.Valid) {
        PrintError(file + ": not an MP3 stream");
        return ExitDeclined;
    }
    return ExitOk;
}

} // namespace vivizu
