#pragma once
// The frame index: every audio frame a walk steps on, with its byte
// position, its header and its start time, and what the walk passed over
// (header frames, embedded tags, runs of other bytes). It is built by the
// walk that measures the length, and grows on demand: a cut that ends early
// in a long file walks no further than it needs.
//
// Memory: eight bytes per frame (the header bits and the position relative
// to the start of its block of frames), and one block record per 256
// frames. A frame's start time is its block's start time plus the play time
// of the frames before it in the block, summed from their headers.
#include "engine/frames/FrameWalk.h"
#include "engine/frames/MpegHeader.h"
#include "engine/frames/StreamTime.h"
#include "engine/io/FileStream.h"
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace vivizu {

struct TIndexedFrame {
    int64_t Position = 0;
    TMpegHeader Header;
    TStreamTime Start;

    int32_t Length() const { return Header.FrameLength(); }
    int64_t End() const { return Position + Length(); }
};

// Something the walk passed over that is not an audio frame; neighbouring
// runs of other bytes are joined.
struct TPassedOver {
    TStepKind Kind = TStepKind::Other;
    int64_t Start = 0;
    int64_t End = 0;
    size_t BeforeFrame = 0; // the index of the audio frame that follows it
};

class TFrameIndex {
public:
    TFrameIndex() = default;
    // An index of the audio from audioStart to audioEnd, walked by rule;
    // nothing is walked until one of the Extend calls.
    TFrameIndex(int64_t audioStart, int64_t audioEnd, TWalkRule rule = TWalkRule::Grid);

    // Walks on (over input, the file the index describes) until the index
    // holds `count` frames, or a frame that starts at or after `time`, or the
    // walk has ended.
    void ExtendToCount(TInputFile& input, size_t count);
    void ExtendToTime(TInputFile& input, TStreamTime time);
    void ExtendToEnd(TInputFile& input);

    // Called with the first bytes of each audio frame as the walk adds it
    // (up to `reach` bytes, fewer when the frame is shorter), so that facts
    // about every frame are gathered without a second pass over the file.
    // The bytes are valid during the call only. An empty visitor stops it.
    using TFrameBytesVisitor = std::function<void(std::span<const uint8_t> bytes, TMpegHeader header)>;
    void VisitFrameBytes(TFrameBytesVisitor visitor, size_t reach);

    // True when the walk has ended: the index holds every frame.
    bool Complete() const { return FComplete; }
    size_t Count() const { return FHeaders.size(); }
    TIndexedFrame Frame(size_t i) const;
    // The play time of the frames indexed so far; the stream's length once
    // Complete.
    TStreamTime Duration() const { return FDuration; }
    TMpegHeader HeaderOf(size_t i) const { return TMpegHeader(FHeaders[i]); }
    int64_t PositionOf(size_t i) const { return FBlocks[BlockOf(i)].Base + FOffsets[i]; }
    // The first frame of the run of frames of one format (version, layer,
    // sample rate) that holds frame i, and the end of that run as far as the
    // index reaches.
    size_t FormatRunStart(size_t i) const;
    size_t FormatRunEnd(size_t i) const;
    // Start time of frame i; Duration() for i == Count().
    TStreamTime StartOf(size_t i) const;
    // The first indexed frame that starts at or after time; Count() when
    // none does (extend first for an answer about the whole stream).
    size_t FirstAtOrAfter(TStreamTime time) const;
    const std::vector<TPassedOver>& PassedOver() const { return FPassedOver; }
    // The first header frame the walk passed before any audio frame.
    std::optional<TPassedOver> LeadingHeaderFrame() const;
    int64_t AudioStart() const { return FAudioStart; }
    int64_t AudioEnd() const { return FAudioEnd; }
    // Bytes the index keeps resident.
    size_t MemoryBytes() const;

private:
    struct TBlock {
        int64_t Base = 0;    // byte position the block's offsets count from
        TStreamTime Start;   // start time of its first frame
        size_t First = 0;    // index of its first frame
    };
    static constexpr size_t BlockFrames = 256;

    // Walks on with one walker while more() says so and the walk goes on.
    template <class More>
    void WalkWhile(TInputFile& input, const More& more);
    // Takes the walker's next step into the index; false when the walk has
    // ended.
    bool Step(TFrameWalker& walker);
    void Add(const TFrameStep& step);
    void Pass(const TFrameStep& step);
    size_t BlockOf(size_t i) const;

    int64_t FAudioStart = 0;
    int64_t FAudioEnd = 0;
    TWalkRule FRule = TWalkRule::Grid;
    int64_t FPosition = 0; // where the walk goes on
    bool FComplete = false;
    bool FInStep = false;  // the walk goes on where a frame ended
    TStreamTime FDuration;
    std::vector<uint32_t> FHeaders;
    std::vector<uint32_t> FOffsets;
    std::vector<TBlock> FBlocks;
    std::vector<TPassedOver> FPassedOver;
    std::vector<size_t> FFormatChanges; // frames whose format differs from the frame before
    TFrameBytesVisitor FVisitor;
    size_t FVisitorReach = 0;
};

} // namespace vivizu
