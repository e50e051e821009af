#include "cli/CueSheet.h"

#include "request/PieceNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <libcue.h>
#include <memory>
#include <sys/stat.h>

namespace vivizu {
namespace {

struct TCdDelete {
    void operator()(Cd* cd) const { cd_delete(cd); }
};
struct TFileClose {
    void operator()(FILE* file) const { std::fclose(file); }
};

std::string Text(const char* text)
{
    return text != nullptr ? text : "";
}

std::string Folder(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

// True when the sheet's FILE name means the input.
bool NamesInput(const std::string& fileName, const std::string& cuePath, const std::string& inputPath)
{
    const std::string path = fileName.starts_with('/') ? fileName : Folder(cuePath) + "/" + fileName;
    struct stat named {}, input {};
    if (stat(path.c_str(), &named) == 0 && stat(inputPath.c_str(), &input) == 0 &&
        named.st_dev == input.st_dev && named.st_ino == input.st_ino)
        return true;
    return BaseName(fileName) == BaseName(inputPath);
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

} // namespace

std::string CueSheetText(const std::string& audioFile, const std::vector<TCueTrack>& tracks)
{
    const size_t slash = audioFile.find_last_of('/');
    std::string text = "FILE " + Quoted(slash == std::string::npos ? audioFile : audioFile.substr(slash + 1)) + " MP3\n";
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

TCueSheet ReadCueSheet(const std::string& cuePath, const std::string& inputPath)
{
    TCueSheet sheet;
    const std::unique_ptr<FILE, TFileClose> file(std::fopen(cuePath.c_str(), "r"));
    if (!file) {
        sheet.Declined = cuePath + ": " + std::strerror(errno);
        return sheet;
    }
    const std::unique_ptr<Cd, TCdDelete> cd(cue_parse_file(file.get()));
    if (!cd || cd_get_ntrack(cd.get()) < 1) {
        sheet.Declined = cuePath + ": not a cue sheet with tracks";
        return sheet;
    }
    const std::string discPerformer = Text(cdtext_get(PTI_PERFORMER, cd_get_cdtext(cd.get())));
    const int count = cd_get_ntrack(cd.get());
    for (int i = 1; i <= count; ++i) {
        const Track* track = cd_get_track(cd.get(), i);
        const std::string named = Text(track_get_filename(track));
        if (!named.empty() && !NamesInput(named, cuePath, inputPath)) {
            sheet.Declined = cuePath + ": track " + std::to_string(i) + " is in another file ('" + named +
                             "'), not in " + inputPath;
            sheet.Tracks.clear();
            return sheet;
        }
        long frames = track_get_index(track, 1);
        if (frames < 0)
            frames = track_get_index(track, 0);
        if (frames < 0) {
            sheet.Declined = cuePath + ": track " + std::to_string(i) + " has no INDEX 01 (nor INDEX 00)";
            sheet.Tracks.clear();
            return sheet;
        }
        TCueTrack cue;
        cue.Number = i;
        cue.Start = {frames * CueFrame.Ticks};
        if (!sheet.Tracks.empty() && cue.Start <= sheet.Tracks.back().Start) {
            sheet.Declined = cuePath + ": track " + std::to_string(i) + " does not begin after track " +
                             std::to_string(i - 1);
            sheet.Tracks.clear();
            return sheet;
        }
        const Cdtext* text = track_get_cdtext(track);
        cue.Title = Text(cdtext_get(PTI_TITLE, text));
        cue.Performer = Text(cdtext_get(PTI_PERFORMER, text));
        if (cue.Performer.empty())
            cue.Performer = discPerformer;
        sheet.Tracks.push_back(std::move(cue));
    }
    return sheet;
}

} // namespace vivizu
