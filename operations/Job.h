#pragma once
// One operation on MP3 files, as the window and the companion both describe
// it: the sources with the ranges taken and the stretches left out, the
// transforms of the volume (gain, fades, a loudness target) with the tag
// and header choices, and the outputs: one file, pieces with their names
// and tags, a chaptered copy, a cue sheet.
#include "engine/CutResult.h"
#include "engine/RoruvoMp3.h"
#include "engine/tags/Id3v2Chapters.h"
#include "operations/GainRange.h"
#include "request/CutRequest.h"

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace vivizu {

enum class TJobKind {
    Cut,      // one range of one source into one file
    Split,    // consecutive pieces of one source, each a file
    Chapters, // a copy of one source with a chapter per piece
    Join,     // ranges of several sources one after another in one file
};

// A source: the analysed file, the range taken from it in milliseconds
// (EndMs past its end: to its end) and stretches of it left out.
struct TJobSource {
    TRoruvoMP3* Mp3 = nullptr;
    int32_t StartMs = 0;
    int32_t EndMs = INT32_MAX;
    std::vector<TRemoved> Removed;
};

struct TJob {
    TJobKind Kind = TJobKind::Cut;
    std::vector<TJobSource> Sources;
    // The tag and header choices and the transforms: GainSteps, the fades,
    // the join fade and the loudness target (measured on each piece, or with
    // NormalizeTogether once on the whole source for all pieces).
    TCutChoices Choices;
    bool NormalizeTogether = false;

    // Cut, Chapters and Join: the one file written.
    std::string Output;
    // Split: the pieces with their names and tags; Chapters: the marks.
    std::vector<TSplitPiece> Pieces;
    std::vector<TChapter> ChapterMarks;
    // Split: a cue sheet of the pieces written after them; empty: none.
    std::string CueSheet, CueText;
    // Join: a chapter per source, titled by its tag or else by these.
    bool JoinChapters = false;
    std::vector<std::string> ChapterTitles;
};

// The job of a cut of mp3 from start to end into output, the choices'
// removed stretches as the source's.
TJob CutJob(TRoruvoMP3& mp3, int32_t start, int32_t end, TCutChoices choices, std::string output);

// The job of a split of mp3 into pieces.
TJob SplitJob(TRoruvoMP3& mp3, std::vector<TSplitPiece> pieces, TCutChoices choices);

} // namespace vivizu
