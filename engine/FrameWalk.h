#pragma once
// The one-step walk over an MPEG audio stream: over one frame, over one ID3v2
// tag embedded between frames, or over four bytes of anything else; and the
// scan over the zero bytes that may follow a leading ID3v2 tag.
#include "engine/FileStream.h"
#include "engine/FrameHeader.h"
#include <cstdint>

namespace vivizu {

// Result of one step: the input's position after it, the bytes of audio it
// passed (0 for anything that is not an audio frame) and their play time.
struct TFrameStep {
    int64_t Position = 0;
    int32_t Length = 0;
    double DurationMs = 0.0;
    TStreamTime Duration; // the play time, exact: walks sum this one
    // A frame header whose frame runs past the end of the audio (a frame cut
    // short by the end of a download, or running into the trailing tags):
    // it is no frame of the stream, the step does not move and the walk ends.
    bool EndOfAudio = false;
};

// Offset from a frame's first byte where an encoder's "Xing" or "Info" header
// sits: right after the side information, whose size depends on the version
// and the channel mode in the header bytes b.
int HeaderFrameTagOffset(const uint8_t* b);

// True when the frame whose first bytes are `frame` (as many as the file
// holds, up to 40) is a VBR or info header frame rather than audio.
bool IsHeaderFrame(std::span<const uint8_t> frame);

// One step from the input's position, which is left at the step's end; the
// audio ends at byte audioEnd (without it, at the end of the file). A run of
// bytes that is neither a frame nor a tag is passed in one step, as far as
// steps of four would pass it.
TFrameStep SkipFrame(TInputFile& input, int64_t audioEnd);
TFrameStep SkipFrame(TInputFile& input);

// Steps with SkipFrame while the input's position is before audioEnd - 4
// and the play time passed is before `until`, ending at a frame that runs
// past audioEnd; returns the play time passed. The walks to a start time and
// over a whole stream, in one loop.
TStreamTime SkipFramesUntil(TInputFile& input, int64_t audioEnd, TStreamTime until);

// The same step; an audio frame's bytes are appended to output in one piece.
TFrameStep CopyFrame(TInputFile& input, TOutputFile& output, int64_t audioEnd);
TFrameStep CopyFrame(TInputFile& input, TOutputFile& output);

struct TZeroScan {
    int64_t Position = -1; // first non-zero byte at or after the start; -1: none
    int64_t Count = 0;     // zero bytes passed (all remaining bytes when none)
};

// Scans from the input's position over zero bytes; leaves the input at the
// first non-zero byte, or at the end.
TZeroScan SkipZeroPadding(TInputFile& input);

} // namespace vivizu
