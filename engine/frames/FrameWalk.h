#pragma once
// The one walk over an MPEG audio stream. Each step passes one frame (an
// audio frame or an encoder's header frame), one ID3v2 tag embedded between
// frames, or a run of other bytes. Two rules say what a frame is:
// - Grid: a header whose codes are in the tables is a frame, and anything
//   else is passed four bytes at a time. The cut, the length and the index
//   follow this walk.
// - Decoder: as decoders find frames: a header counts only when the next
//   frame (or the end of the audio) starts where its length says, and
//   anything else is passed one byte at a time. The exact cut, whose samples
//   must be the ones decoders play, follows this walk. Right after a frame
//   a valid header is the next frame; after anything else (the start, a
//   tag, damaged bytes) decoders search byte by byte and take a header only
//   when the next frame (or a tag, or the end of the audio) starts where its
//   length says.
#include "engine/frames/MpegHeader.h"
#include "engine/io/FileStream.h"
#include <cstdint>
#include <span>

namespace vivizu {

enum class TWalkRule : uint8_t { Grid, Decoder };

enum class TStepKind : uint8_t {
    AudioFrame,
    HeaderFrame, // an encoder's "Xing", "Info" or "VBRI" frame: no audio
    Tag,         // an ID3v2 tag between frames
    Other,       // bytes that are neither
    EndOfAudio,  // a frame runs past the end of the audio: the walk ends here
};

struct TFrameStep {
    TStepKind Kind = TStepKind::Other;
    int64_t Start = 0;
    int64_t End = 0;         // the next step's start
    TMpegHeader Header;      // for the two kinds of frame

    int32_t Length() const { return static_cast<int32_t>(End - Start); }
};

// Offset from a frame's first byte where an encoder's "Xing" or "Info" header
// sits: right after the side information.
int HeaderFrameTagOffset(TMpegHeader header);

// True when the frame whose first bytes are `frame` (as many as the file
// holds, up to 40) is an encoder's header frame rather than audio.
bool IsHeaderFrame(std::span<const uint8_t> frame);

class TFrameWalker {
public:
    // Walks input from byte `from`; the audio ends at byte audioEnd. inStep:
    // `from` is where a frame ended (a walk that goes on where another
    // stopped).
    TFrameWalker(TInputFile& input, int64_t from, int64_t audioEnd, TWalkRule rule = TWalkRule::Grid,
                 bool inStep = false);

    // True when no step begins here: the position is not before the end of
    // the audio less four bytes, or a frame ran past the end of the audio.
    bool AtEnd() const { return FEnded || FPosition >= FAudioEnd - 4; }
    int64_t Position() const { return FPosition; }
    int64_t AudioEnd() const { return FAudioEnd; }
    // True when the position is where the last step's frame ended.
    bool InStep() const { return FInStep; }

    // The step from the position; the walk moves past it. An EndOfAudio step
    // does not move and ends the walk. Call only while !AtEnd().
    TFrameStep Next();
    // Up to count bytes from the start of a step just taken, read from the
    // walk's buffer; valid until the next call on the walker.
    std::span<const uint8_t> BytesOf(const TFrameStep& step, size_t count)
    {
        FInput.SeekTo(step.Start);
        return FInput.Peek(count);
    }

private:
    TFrameStep GridStep();
    TFrameStep DecoderStep();
    // A step over a frame at the position with the given header.
    TFrameStep FrameStep(TMpegHeader header, int32_t length);
    // The step over an ID3v2 tag when one begins at the position.
    bool TagStep(std::span<const uint8_t> head, TFrameStep& step);
    // True when a frame of header's layer begins at `at`, or a tag, or the
    // audio ends there.
    bool ChainGoesOn(TMpegHeader header, int64_t at);

    TInputFile& FInput;
    int64_t FPosition;
    int64_t FAudioEnd;
    TWalkRule FRule;
    bool FEnded = false;
    bool FInStep = false; // the position is where the frame before ended
};

struct TZeroScan {
    int64_t Position = -1; // first non-zero byte at or after the start; -1: none
    int64_t Count = 0;     // zero bytes passed (all remaining bytes when none)
};

// Scans from the input's position over zero bytes; leaves the input at the
// first non-zero byte, or at the end.
TZeroScan SkipZeroPadding(TInputFile& input);

} // namespace vivizu
