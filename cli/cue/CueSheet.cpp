#include "cli/cue/CueSheet.h"

#include "cli/cue/CueLines.h"
#include "cli/cue/CueText.h"
#include "request/PieceNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <libcue.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>

namespace vivizu {
namespace {

struct TCdDelete {
    void operator()(Cd* cd) const { cd_delete(cd); }
};

// libcue keeps its parser's state in globals: the files of a batch read
// their sheet one at a time.
std::mutex& LibcueLock()
{
    static std::mutex lock;
    return lock;
}

std::string Text(const char* text)
{
    return text != nullptr ? text : "";
}

std::string Folder(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// A FILE name with a Windows path's backslashes as slashes.
std::string SlashPath(std::string name)
{
    if (name.find('/') == std::string::npos)
        for (char& c : name)
            if (c == '\\') c = '/';
    return name;
}

// True when the sheet's FILE name means the input.
bool NamesInput(const std::string& fileName, const std::string& cuePath, const std::string& inputPath)
{
    const std::string name = SlashPath(fileName);
    const std::string path = name.starts_with('/') ? name : Folder(cuePath) + "/" + name;
    struct stat named {}, input {};
    if (stat(path.c_str(), &named) == 0 && stat(inputPath.c_str(), &input) == 0 &&
        named.st_dev == input.st_dev && named.st_ino == input.st_ino)
        return true;
    return BaseName(name) == BaseName(inputPath);
}

// A text for a quoted cue field: its quotes become apostrophes, line breaks spaces.
std::string Quoted(std::string text)
{
    for (char& c : text) {
        if (c == '"') c = '\'';
        else if (c == '\n' || c == '\r') c = ' ';
    }
    return "\"" + text + "\"";
}

// The tracks libcue reads from the cleaned sheet.
TCueSheet TracksOf(const Cd* cd, const TCueLines& lines, const std::string& cuePath, const std::string& inputPath)
{
    TCueSheet sheet;
    sheet.Title = Text(cdtext_get(PTI_TITLE, cd_get_cdtext(cd)));
    sheet.Performer = Text(cdtext_get(PTI_PERFORMER, cd_get_cdtext(cd)));
    const auto decline = [&](const std::string& why) {
        sheet.Tracks.clear();
        sheet.Notes.clear();
        sheet.Declined = cuePath + ": " + why;
        return sheet;
    };
    // One other name for the audio (the recording it was ripped to, a
    // Windows path): the sheet is for this input.
    const bool oneOtherName = lines.Files.size() == 1 && !lines.Files[0].empty() &&
                              !NamesInput(lines.Files[0], cuePath, inputPath);
    if (oneOtherName)
        sheet.Notes.push_back(cuePath + " names its audio '" + lines.Files[0] + "'; its tracks are taken for " +
                              inputPath);
    const int count = cd_get_ntrack(cd);
    for (int i = 1; i <= count; ++i) {
        const Track* track = cd_get_track(cd, i);
        const std::string line = "line " + std::to_string(lines.TrackLines[i - 1]) + ": ";
        const std::string named = Text(track_get_filename(track));
        if (!oneOtherName && !named.empty() && !NamesInput(named, cuePath, inputPath))
            return decline(line + "track " + std::to_string(i) + " is in another file ('" + named + "'), not in " +
                           inputPath);
        long frames = track_get_index(track, 1);
        if (frames < 0) {
            frames = track_get_index(track, 0);
            if (frames >= 0)
                sheet.Notes.push_back(cuePath + ": track " + std::to_string(i) +
                                      " has no INDEX 01; it begins at its INDEX 00");
        }
        if (frames < 0)
            return decline(line + "track " + std::to_string(i) + " has no INDEX 01 (nor INDEX 00)");
        TCueTrack cue;
        cue.Number = i;
        cue.Start = {frames * CueFrame.Ticks};
        if (!sheet.Tracks.empty() && cue.Start <= sheet.Tracks.back().Start)
            return decline(line + "track " + std::to_string(i) + " does not begin after track " +
                           std::to_string(i - 1));
        const Cdtext* text = track_get_cdtext(track);
        cue.Title = Text(cdtext_get(PTI_TITLE, text));
        cue.Performer = Text(cdtext_get(PTI_PERFORMER, text));
        if (cue.Performer.empty())
            cue.Performer = sheet.Performer;
        sheet.Tracks.push_back(std::move(cue));
    }
    return sheet;
}

} // namespace

std::string CueSheetText(const std::string& audioFile, const std::vector<TCueTrack>& tracks,
                         const std::string& discTitle, const std::string& discPerformer)
{
    const size_t slash = audioFile.find_last_of('/');
    std::string text;
    if (!discTitle.empty()) text += "TITLE " + Quoted(discTitle) + "\n";
    if (!discPerformer.empty()) text += "PERFORMER " + Quoted(discPerformer) + "\n";
    text += "FILE " + Quoted(slash == std::string::npos ? audioFile : audioFile.substr(slash + 1)) + " MP3\n";
    char line[64];
    for (size_t i = 0; i < tracks.size(); ++i) {
        const TCueTrack& track = tracks[i];
        std::snprintf(line, sizeof line, "  TRACK %02zu AUDIO\n", i + 1);
        text += line;
        if (!track.Title.empty()) text += "    TITLE " + Quoted(track.Title) + "\n";
        if (!track.Performer.empty()) text += "    PERFORMER " + Quoted(track.Performer) + "\n";
        const long long frames = track.Start.Ticks / CueFrame.Ticks;
        std::snprintf(line, sizeof line, "    INDEX 01 %02lld:%02lld:%02lld\n", frames / (75 * 60), frames / 75 % 60,
                      frames % 75);
        text += line;
    }
    return text;
}

TCueSheet ReadCueSheet(const std::string& cuePath, const std::string& inputPath, int localeCodePage)
{
    TCueSheet sheet;
    std::ifstream file(cuePath, std::ios::binary);
    if (!file) {
        sheet.Declined = cuePath + ": " + std::strerror(errno);
        return sheet;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        sheet.Declined = cuePath + ": " + std::strerror(errno);
        return sheet;
    }
    const TCueLines lines = CleanCueLines(CueSheetUtf8(bytes, localeCodePage));
    if (!lines.Declined.empty()) {
        sheet.Declined = cuePath + ": " + lines.Declined;
        return sheet;
    }
    std::unique_ptr<Cd, TCdDelete> cd;
    {
        const std::lock_guard<std::mutex> hold(LibcueLock());
        cd.reset(cue_parse_string(lines.Text.c_str()));
    }
    // The cleaned sheet is one libcue reads; this is a safeguard.
    if (!cd || cd_get_ntrack(cd.get()) != static_cast<int>(lines.TrackLines.size())) {
        sheet.Declined = cuePath + ": not a cue sheet libcue reads";
        return sheet;
    }
    return TracksOf(cd.get(), lines, cuePath, inputPath);
}

} // namespace vivizu
