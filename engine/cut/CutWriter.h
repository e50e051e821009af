#pragma once
// The one writer of every cut and join: the optional ID3v2 tag, the optional
// header frame, the optional reservoir frame, the planned frames, the
// optional ID3v1 tag, in that order. The plain cut is the plan with nothing
// added; a join is the plans of several files one after another.
#include "engine/cut/CutPlan.h"
#include "engine/io/FileStream.h"
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <vector>

namespace vivizu {

// Raised by the writer of an open plan with stretches removed that cannot be
// written as planned: no frame is left, or a join needs a carrying frame
// that cannot be built. Nothing is committed; the closed plan says why.
class TCutAbandoned : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a cut adds around the frames.
struct TCutLayout {
    std::vector<uint8_t> Id3v2Tag;         // written first; empty: none
    bool LengthHeader = false;             // a "Xing"/"Info" frame before the audio
    std::array<uint8_t, 9> EncoderText{};  // the header frame's encoder text
    std::vector<uint8_t> Id3v1Tag;         // written last; empty: none
};

// Changes one audio frame in place before it is written (its length stays);
// `number` counts the plan's frames from 0. The reservoir frame, the header
// frame and the tags are not passed to it.
using TFrameTransform = std::function<void(std::span<uint8_t> frame, TMpegHeader header, size_t number)>;

// Writes the cut planned on input's frames to output and commits it; an open
// plan (never with a length header) walks on as it writes. Raises
// TStreamReadError when a frame is no longer all there, and the output's
// errors as TStreamWriteError; output is then left uncommitted.
void WriteCut(TInputFile& input, const TCutPlan& plan, const TCutLayout& layout, TOutputFile& output,
              const TFrameTransform& transform = {});

// One file's part of a join: its plan on that file's frames, the reservoir
// frame (when it has one) going before them.
struct TJoinPart {
    TInputFile* Input = nullptr;
    const TCutPlan* Plan = nullptr;
};

// Writes the parts one after another as one stream and commits it, as
// WriteCut writes one plan: one header frame counts every frame of every
// part, with the first part's delay and the last part's padding. Plans that
// write nothing are passed over; open plans walk as they write.
void WriteJoin(std::span<const TJoinPart> parts, const TCutLayout& layout, TOutputFile& output,
               const TFrameTransform& transform = {});

} // namespace vivizu
