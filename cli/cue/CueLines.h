#pragma once
// A cue sheet's lines as sheet writers in the wild write them, checked and
// rewritten into the strict form that libcue reads without a word: every
// value quoted, one statement a line, the lines the split does not use
// left blank. What cannot be split is declined with the line it is on.
#include <string>
#include <string_view>
#include <vector>

namespace vivizu {

struct TCueLines {
    std::string Text;               // the sheet for libcue; empty when declined
    std::string Declined;           // "line N: why", empty when the sheet can be read
    std::vector<int> TrackLines;    // the line of each TRACK, in order
    std::vector<std::string> Files; // the names the FILE lines give, each once, in order
};

// The tracks a cue sheet can hold (two decimal digits).
inline constexpr int MaxCueTracks = 99;

// Reads utf8Text, a sheet already converted to UTF-8. Lines end with LF,
// CR LF or CR alone; the last needs no line end. Keywords are read in any
// case. TITLE, PERFORMER and FILE values may be quoted or not ("TITLE Only
// Shallow"). TRACK and INDEX lines are checked: an INDEX before the first
// TRACK, a time that is not minutes:seconds:frames with seconds below 60
// and frames below 75, a track with no INDEX, more than MaxCueTracks
// tracks, and a second FILE line before any track of the first are
// declined. Every other line (REM, CATALOG, FLAGS, ISRC, PREGAP ...) is
// left out.
TCueLines CleanCueLines(std::string_view utf8Text);

} // namespace vivizu
