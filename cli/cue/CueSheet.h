#pragma once
// The tracks of a cue sheet, read with libcue: where each begins in the
// file this split is of, and its title and performer.
#include "engine/frames/StreamTime.h"
#include <string>
#include <vector>

namespace vivizu {

struct TCueTrack {
    int Number = 0;         // the track's number in the sheet
    TStreamTime Start;      // its INDEX 01 (1/75 s frames), or its INDEX 00 when it has no INDEX 01
    std::string Title;      // empty when the sheet gives none
    std::string Performer;  // the track's, else the disc's; empty when neither is given
};

struct TCueSheet {
    std::vector<TCueTrack> Tracks;
    std::string Title;              // the disc's (the album's); empty when the sheet gives none
    std::string Performer;          // the disc's; empty when the sheet gives none
    std::vector<std::string> Notes; // what the reading assumed, for the user
    std::string Declined;           // why the sheet cannot split the input; empty when it can
};

// Reads cuePath for a split of inputPath. The sheet may be in UTF-8,
// UTF-16 or the 8-bit code page of its writer (cli/cue/CueText.h, read with
// localeCodePage), its texts come out in UTF-8. Its lines are checked and
// cleaned first (cli/cue/CueLines.h): a refusal names the line, and
// libcue's own messages never reach the user. Every FILE line must name the
// input: the same file (paths relative to the sheet's folder, '/' or '\'),
// or a file of the same base name with another extension (the recording
// the input was encoded from). A sheet whose FILE lines all give one other
// name is taken for the input too, with a note. A track with only an INDEX
// 00 begins there, with a note. Tracks that do not follow each other in
// time are declined. The pregap (INDEX 00 to INDEX 01) stays with the track
// before, as a player of the disc plays it.
TCueSheet ReadCueSheet(const std::string& cuePath, const std::string& inputPath, int localeCodePage = 1252);

// A cue sheet for the unsplit audioFile (named by its file name alone) with
// one track per entry of tracks, each at its Start rounded down to 1/75 s;
// the disc's title and performer come first when they are not empty.
std::string CueSheetText(const std::string& audioFile, const std::vector<TCueTrack>& tracks,
                         const std::string& discTitle = {}, const std::string& discPerformer = {});

// One 1/75 s frame of a cue sheet.
inline constexpr TStreamTime CueFrame{TStreamTime::TicksPerSecond / 75};

} // namespace vivizu
