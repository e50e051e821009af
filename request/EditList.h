#pragma once
// Lists of stretches to leave out of a recording: typed on a command line
// as "T1-T2", and read from or written to an edit decision list in the
// MPlayer/Kodi format that commercial detectors write: one line a stretch,
// "START END ACTION" with times in seconds, where actions 0 (cut) and 3
// (commercial break) remove and others (1 mute, 2 scene marker) do not.
#include "engine/CutResult.h"

#include <optional>
#include <string>
#include <vector>

namespace vivizu {

struct TEditList {
    std::vector<TRemoved> Removed;
    std::string Error; // why the text is no edit list, with its line; empty when it is
};

// "T1-T2" with times as the companion reads them ("1:02.5-1:30", "5000-7000");
// none when the text is not such a stretch or T2 is not after T1.
std::optional<TRemoved> ParseStretch(const std::string& text);

// The removing stretches of an edit list's text. Blank lines and lines that
// begin with '#' are skipped; a line that is not three numbers, a negative
// time or an end not after its start is an error that names the line.
TEditList ParseEditList(const std::string& text);

// The stretches as an edit list's text (action 0, milliseconds exact).
std::string EditListText(const std::vector<TRemoved>& removed);

} // namespace vivizu
