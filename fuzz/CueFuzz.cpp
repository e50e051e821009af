// Feeds arbitrary bytes to the cue sheet reader as a sheet file, in the
// encodings it recognises and under the code pages of several locales. A
// crash, hang, leak or sanitizer report is a finding; so is a broken
// promise of the reader (checked below with abort()): libcue prints
// nothing, the texts are UTF-8, an accepted sheet has 1 to 99 tracks that
// follow each other, and the sheet written for them reads back the same.
#include "cli/cue/CueLines.h"
#include "cli/cue/CueSheet.h"
#include "cli/cue/CueText.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace vivizu;

namespace {

// One folder per fuzzing process, removed when it ends.
struct FuzzDir {
    std::string Path;
    FuzzDir()
    {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        Path = std::string(base) + "/vivizu-cue-fuzz-XXXXXX";
        if (mkdtemp(Path.data()) == nullptr)
            std::abort();
    }
    ~FuzzDir()
    {
        std::remove((Path + "/sheet.cue").c_str());
        std::remove((Path + "/stderr").c_str());
        rmdir(Path.c_str());
    }
};

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "cue_fuzz: broken promise: %s\n", what);
        std::abort();
    }
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr, "the sheet file can be written");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// Reads the sheet with standard error sent to a file; whatever lands there
// came from libcue.
TCueSheet ReadQuietly(const FuzzDir& dir, const std::string& sheetPath, const std::string& input, int codePage)
{
    const std::string errPath = dir.Path + "/stderr";
    std::fflush(stderr);
    const int saved = dup(2);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    Require(saved >= 0 && err >= 0, "standard error can be redirected");
    dup2(err, 2);
    close(err);
    TCueSheet sheet = ReadCueSheet(sheetPath, input, codePage);
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    struct stat st {};
    Require(stat(errPath.c_str(), &st) == 0 && st.st_size == 0, "libcue printed nothing");
    return sheet;
}

void CheckSheet(const TCueSheet& sheet, const std::string& sheetPath)
{
    if (!sheet.Declined.empty()) {
        Require(sheet.Tracks.empty(), "a declined sheet has no tracks");
        Require(sheet.Declined.starts_with(sheetPath + ": "), "a refusal names the sheet");
        Require(sheet.Declined.find('\n') == std::string::npos, "a refusal is one line");
        Require(!sheet.Declined.ends_with("not a cue sheet libcue reads"),
                "libcue reads every sheet the cleaning passes");
        return;
    }
    Require(!sheet.Tracks.empty() && sheet.Tracks.size() <= static_cast<size_t>(MaxCueTracks), "1 to 99 tracks");
    Require(IsUtf8(sheet.Title) && IsUtf8(sheet.Performer), "the disc's texts are UTF-8");
    for (size_t i = 0; i < sheet.Tracks.size(); ++i) {
        const TCueTrack& track = sheet.Tracks[i];
        Require(IsUtf8(track.Title) && IsUtf8(track.Performer), "the tracks' texts are UTF-8");
        Require(track.Start.Ticks >= 0, "a track begins at or after the start");
        Require(i == 0 || track.Start > sheet.Tracks[i - 1].Start, "tracks follow each other");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzDir dir;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string sheetPath = dir.Path + "/sheet.cue";
    const std::string input = dir.Path + "/album.mp3"; // need not exist: names are compared too

    for (const int codePage : {1252, 1251, 932}) {
        const std::string text = CueSheetUtf8(bytes, codePage);
        Require(IsUtf8(text), "the sheet's text is UTF-8");
        const TCueLines lines = CleanCueLines(text);
        Require(lines.Declined.empty() != lines.Text.empty(), "cleaned lines or a refusal");
        Require(lines.TrackLines.size() <= static_cast<size_t>(MaxCueTracks), "at most 99 tracks");
    }

    WriteFile(sheetPath, bytes);
    const TCueSheet sheet = ReadQuietly(dir, sheetPath, input, 1252);
    CheckSheet(sheet, sheetPath);
    if (!sheet.Declined.empty())
        return 0;

    // The sheet written for the tracks reads back as the same tracks.
    WriteFile(sheetPath, CueSheetText(input, sheet.Tracks, sheet.Title, sheet.Performer));
    const TCueSheet again = ReadQuietly(dir, sheetPath, input, 1252);
    Require(again.Declined.empty(), "the written sheet is read");
    Require(again.Tracks.size() == sheet.Tracks.size(), "the written sheet has the same tracks");
    Require(again.Title == sheet.Title && again.Performer == sheet.Performer, "the same disc texts");
    for (size_t i = 0; i < sheet.Tracks.size(); ++i) {
        Require(again.Tracks[i].Start == sheet.Tracks[i].Start, "the same starts");
        Require(again.Tracks[i].Title == sheet.Tracks[i].Title, "the same titles");
        Require(again.Tracks[i].Performer == sheet.Tracks[i].Performer, "the same performers");
    }
    return 0;
}
