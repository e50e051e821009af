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
    std::string Declined;   // why the sheet cannot split the input; empty when it can
};

// Reads cuePath for a split of inputPath. Every FILE line must name the
// input: the same file (paths relative to the sheet's folder), or a file of
// the same base name with another extension (the recording the input was
// encoded from). A track with neither INDEX 01 nor INDEX 00, or tracks that
// do not follow each other in time, are declined with their reason. The
// pregap (INDEX 00 to INDEX 01) stays with the track before, as a player of
// the disc plays it.
TCueSheet ReadCueSheet(const std::string& cuePath, const std::string& inputPath);

// A cue sheet for the unsplit audioFile (named by its file name alone) with
// one track per entry of tracks, each at its Start rounded down to 1/75 s.
std::string CueSheetText(const std::string& audioFile, const std::vector<TCueTrack>& tracks);

// One 1/75 s frame of a cue sheet.
inline constexpr TStreamTime CueFrame{TStreamTime::TicksPerSecond / 75};

} // namespace vivizu
