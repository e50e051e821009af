#pragma once
// The checks of a whole job before a byte is written, and the pieces of a
// split as every front end plans them: their names from a template and
// their tags built one way.
#include "operations/Job.h"
#include "request/PieceNames.h"
#include "request/RunOutputs.h"
#include "engine/cut/SplitPlan.h"

#include <optional>
#include <string>
#include <vector>

namespace vivizu {

// Why the job cannot be done as asked, before anything is written: a
// source that is no analysed MP3 stream (NotAnalysed), a loudness target,
// a length header, an exact cut, gain or fades on a stream whose frames
// cannot carry them (Layers I and II: NotApplicable). None when it can.
std::optional<TCutResult> CheckJob(const TJob& job);

// The files job writes, for CheckRunOutputs to check the outputs of a whole
// run together (none may be an input, none may be written twice); input is
// the index among the run's inputs of the file the job reads.
std::vector<TRunOutput> JobOutputs(const TJob& job, size_t input);

// How the pieces of a split are tagged: the cut's tag choices, and the
// track numbers counted from TrackStart when a tag is written at all.
struct TPieceTagging {
    TTagMode Mode = TTagMode::FromSource;
    TTagEdits Edits;      // the edits every piece gets; Track is ignored
    int TrackStart = 1;
    bool TrackStartSet = false;
};

// The ID3v1 tag of piece number i (from 0). extra holds what this piece
// alone fills (a cue sheet's title and performer) where the edits leave
// a field unset.
TID3v1Tag PieceTag(const TMp3StreamInfo& info, const TPieceTagging& tagging, const TTagEdits& extra, size_t i,
                   int codePage);

// The pieces of ranges as files in folder ("." for the working folder),
// named by the template; fields gives each piece's title and artist, and
// the tag of piece i comes from PieceTag with extras[i] (when given).
struct TPieceNaming {
    std::string Template = DefaultPieceTemplate;
    std::string Folder = ".";
    std::string SourceName; // the {name} field: the input's base name
    std::vector<std::string> Titles, Artists; // per piece; empty: none
};
struct TPlannedPieces {
    std::vector<TSplitPiece> Pieces;
    std::vector<std::string> Names; // the names in the folder
};
TPlannedPieces PlanPieces(const TMp3StreamInfo& info, const std::vector<TSplitRange>& ranges,
                          const TPieceNaming& naming, const TPieceTagging& tagging,
                          const std::vector<TTagEdits>& extras, int codePage);

} // namespace vivizu
