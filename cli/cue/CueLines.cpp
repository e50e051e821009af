#include "cli/cue/CueLines.h"

#include <cstdio>

namespace vivizu {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The first word of text, and text after it (trimmed).
std::string_view NextWord(std::string_view& text)
{
    text = Trimmed(text);
    size_t end = 0;
    while (end < text.size() && !IsSpace(text[end])) ++end;
    const std::string_view word = text.substr(0, end);
    text = Trimmed(text.substr(end));
    return word;
}

std::string Upper(std::string_view word)
{
    std::string upper(word);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool AllDigits(std::string_view word, size_t maxDigits)
{
    if (word.empty() || word.size() > maxDigits) return false;
    for (const char c : word)
        if (c < '0' || c > '9') return false;
    return true;
}

int Number(std::string_view digits)
{
    int n = 0;
    for (const char c : digits) n = n * 10 + (c - '0');
    return n;
}

// A value as libcue takes it between quotes: no quotes (they become
// apostrophes), no control characters, no backslash at the end (libcue
// would read it as escaping the closing quote), and short enough for its
// 1,024-byte buffer, cut on a whole character.
std::string CleanValue(std::string_view value)
{
    std::string clean;
    for (const char c : value) {
        const auto b = static_cast<unsigned char>(c);
        clean += c == '"' ? '\'' : b < 0x20 || b == 0x7F ? ' ' : c;
    }
    constexpr size_t Longest = 1000;
    if (clean.size() > Longest) {
        size_t end = Longest;
        while (end > 0 && (static_cast<unsigned char>(clean[end]) & 0xC0) == 0x80) --end;
        clean.resize(end);
    }
    while (!clean.empty() && clean.back() == '\\') clean.pop_back();
    return clean;
}

// The value of a TITLE-like line: between its double quotes (the first and
// the last on the line) or, unquoted, the whole rest of the line.
std::string_view Value(std::string_view rest, std::string_view* after = nullptr)
{
    if (after != nullptr) *after = {};
    if (!rest.starts_with('"')) return rest;
    const size_t close = rest.find_last_of('"');
    if (close == 0) return rest.substr(1);
    if (after != nullptr) *after = Trimmed(rest.substr(close + 1));
    return rest.substr(1, close - 1);
}

// The time of an INDEX line as 1/75 s frames, or a reason it is not one.
std::string IndexTime(std::string_view text, long& frames)
{
    if (AllDigits(text, 7)) { // a count of frames, as libcue takes it too
        frames = Number(text);
        return {};
    }
    const size_t first = text.find(':'), second = text.find(':', first + 1);
    if (first == std::string_view::npos || second == std::string_view::npos)
        return "the INDEX time '" + std::string(text) + "' is not minutes:seconds:frames";
    const std::string_view m = text.substr(0, first), s = text.substr(first + 1, second - first - 1),
                           f = text.substr(second + 1);
    if (!AllDigits(m, 4) || !AllDigits(s, 2) || !AllDigits(f, 2))
        return "the INDEX time '" + std::string(text) + "' is not minutes:seconds:frames";
    if (Number(s) > 59)
        return "the INDEX time " + std::string(text) + " has " + std::string(s) + " seconds (at most 59)";
    if (Number(f) > 74)
        return "the INDEX time " + std::string(text) + " has frame " + std::string(f) +
               " (a second has 75 frames: 00 to 74)";
    frames = (Number(m) * 60L + Number(s)) * 75 + Number(f);
    return {};
}

const char* const TrackModes[] = {"AUDIO", "MODE1/2048", "MODE1/2352", "MODE2/2336",
                                  "MODE2/2048", "MODE2/2342", "MODE2/2332", "MODE2/2352"};

class TCleaner {
public:
    explicit TCleaner(TCueLines& out) : FOut(out) {}

    // One line: its statement for libcue, or false when it declines the sheet.
    bool Line(int number, std::string_view line)
    {
        FLine = number;
        std::string_view rest = line;
        const std::string keyword = Upper(NextWord(rest));
        if (keyword == "TITLE" || keyword == "PERFORMER")
            return Emit(keyword + " \"" + CleanValue(Value(rest)) + "\"");
        if (keyword == "FILE") return File(rest);
        if (keyword == "TRACK") return Track(rest);
        if (keyword == "INDEX") return Index(rest);
        return Emit("");
    }

    bool End()
    {
        if (FOut.TrackLines.empty()) return Decline("no TRACK lines");
        return TrackHasIndex();
    }

private:
    bool Emit(const std::string& statement)
    {
        FOut.Text += statement + "\n";
        return true;
    }
    bool Decline(const std::string& why)
    {
        FOut.Declined = why;
        return false;
    }
    bool DeclineHere(const std::string& why)
    {
        return Decline("line " + std::to_string(FLine) + ": " + why);
    }

    bool File(std::string_view rest)
    {
        std::string_view after;
        std::string_view name = Value(rest, &after);
        if (name.data() == rest.data()) { // unquoted: a last word without a dot is the type
            const size_t space = rest.find_last_of(" \t");
            if (space != std::string_view::npos && rest.find('.', space) == std::string_view::npos)
                name = Trimmed(rest.substr(0, space));
        }
        if (FPendingFile)
            return DeclineHere("a second FILE line before any TRACK of the FILE on line " +
                               std::to_string(FPendingFileLine));
        // libcue gives a FILE line to the track before it while that track
        // has no INDEX 01; otherwise to the tracks after it.
        if (FOut.TrackLines.empty() || FHasIndex01) {
            FPendingFile = true;
            FPendingFileLine = FLine;
        }
        const std::string clean = CleanValue(name);
        bool known = false;
        for (const std::string& file : FOut.Files) known = known || file == clean;
        if (!known) FOut.Files.push_back(clean);
        FSawFile = true;
        return Emit("FILE \"" + clean + "\" WAVE");
    }

    bool Track(std::string_view rest)
    {
        if (!FOut.TrackLines.empty() && !TrackHasIndex()) return false;
        const std::string_view number = NextWord(rest);
        if (!AllDigits(number, 3)) return DeclineHere("TRACK needs its number");
        if (static_cast<int>(FOut.TrackLines.size()) == MaxCueTracks)
            return DeclineHere("track " + std::to_string(MaxCueTracks + 1) + ": a cue sheet holds at most " +
                               std::to_string(MaxCueTracks) + " tracks");
        FOut.TrackLines.push_back(FLine);
        FHasIndex = FHasIndex01 = FPendingFile = false;
        std::string mode = Upper(NextWord(rest));
        bool known = false;
        for (const char* m : TrackModes) known = known || mode == m;
        char statement[48];
        std::snprintf(statement, sizeof statement, "TRACK %02zu %s", FOut.TrackLines.size(),
                      known ? mode.c_str() : "AUDIO");
        // A track before any FILE line is in the input.
        return Emit(std::string(FSawFile ? "" : "FILE \"\" WAVE\n") + statement);
    }

    bool Index(std::string_view rest)
    {
        if (FOut.TrackLines.empty()) return DeclineHere("INDEX before the first TRACK");
        const std::string_view number = NextWord(rest);
        if (!AllDigits(number, 2)) return DeclineHere("INDEX needs its number (00 to 99)");
        long frames = 0;
        if (const std::string wrong = IndexTime(NextWord(rest), frames); !wrong.empty()) return DeclineHere(wrong);
        FHasIndex = true;
        FHasIndex01 = FHasIndex01 || Number(number) == 1;
        char statement[64];
        std::snprintf(statement, sizeof statement, "INDEX %02d %02ld:%02ld:%02ld", Number(number), frames / 75 / 60,
                      frames / 75 % 60, frames % 75);
        return Emit(statement);
    }

    bool TrackHasIndex()
    {
        if (FHasIndex) return true;
        return Decline("line " + std::to_string(FOut.TrackLines.back()) + ": track " +
                       std::to_string(FOut.TrackLines.size()) + " has no INDEX 01 (nor INDEX 00)");
    }

    TCueLines& FOut;
    int FLine = 0;
    bool FSawFile = false;
    bool FPendingFile = false; // a FILE line that no TRACK has followed yet
    int FPendingFileLine = 0;
    bool FHasIndex = false, FHasIndex01 = false; // of the current track
};

} // namespace

TCueLines CleanCueLines(std::string_view utf8Text)
{
    TCueLines lines;
    TCleaner cleaner(lines);
    int number = 1;
    bool ok = true;
    for (size_t at = 0; ok && at < utf8Text.size(); ++number) {
        size_t end = utf8Text.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = utf8Text.size();
        ok = cleaner.Line(number, utf8Text.substr(at, end - at));
        at = end;
        if (at < utf8Text.size()) // one line end: CR LF, CR or LF
            at += utf8Text[at] == '\r' && at + 1 < utf8Text.size() && utf8Text[at + 1] == '\n' ? 2 : 1;
    }
    if (ok) ok = cleaner.End();
    if (!ok) lines.Text.clear();
    return lines;
}

} // namespace vivizu
