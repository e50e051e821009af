#pragma once
// The command line of vivizu-cli split, read and checked.
#include "cli/CutTag.h"
#include "engine/decode/Silence.h"
#include "engine/frames/StreamTime.h"
#include <optional>
#include <string>
#include <vector>

namespace vivizu {

enum class TSplitMode { At, Every, Parts, Cue, Silence };

struct TSplitArgs {
    bool Help = false;
    TSplitMode Mode = TSplitMode::At;
    std::vector<TStreamTime> At;   // ascending
    TStreamTime Every;
    int Parts = 0;
    std::string CueFile;
    TSilenceOptions Silence;       // what counts as a pause
    std::optional<TStreamTime> KeepSilence; // set: pieces keep at most this much of their pauses
    unsigned Threads = 0;          // decoding threads; 0: all cores

    // The cut's choices for every piece: the tag (Edits.Track unset: the
    // pieces count from TrackStart), the header options, the gain and fades
    // and a loudness target (each piece measured, or with NormalizeAll one
    // gain for all pieces together).
    TCutChoices Choices;
    int TrackStart = 1;
    bool TrackStartSet = false;
    bool NormalizeAll = false;

    std::string Folder = ".";
    std::string Template;
    std::string Chapters;          // instead of pieces, a chaptered copy goes here
    std::string WriteCue;          // a cue sheet of the pieces goes here; empty: none
    bool Force = false, DryRun = false, Json = false, Quiet = false;
    std::vector<std::string> Files;
};

// Reads the words after "split"; the text of a usage error when they are
// not usable.
std::optional<std::string> ParseSplitArgs(const std::vector<std::string>& argv, TSplitArgs& args);

} // namespace vivizu
