#pragma once
// What the decoders take and give: a range of audio frames, the options of a
// parallel decode and its outcome.
#include "engine/decode/FrameStarts.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vivizu {

// Frames [First, Last) of a file. FrameStarts gives the first byte of every
// audio frame of the stream followed by the end of the last one; frames
// before First serve as warm-up for the decoder when they exist.
struct TDecodeRange {
    TFrameStarts FrameStarts;
    size_t First = 0;
    size_t Last = 0;

    size_t FrameCount() const { return FrameStarts.empty() ? 0 : FrameStarts.size() - 1; }
};

struct TDecodeOptions {
    unsigned Threads = 0;    // 0: one per hardware thread
    size_t ChunkFrames = 0;  // frames per chunk; 0: the decoder's choice
    // Set by another thread to stop the decode; it ends as Cancelled.
    const std::atomic<bool>* Cancel = nullptr;
    // When set, counts the samples per channel decoded so far (in any
    // order), for a progress display.
    std::atomic<int64_t>* SamplesDone = nullptr;
};

// The decoded audio: float samples in [-1, 1), channels interleaved.
struct TPcmFormat {
    int SampleRate = 0;
    int Channels = 0;
};

enum class TDecodeStatus {
    Done,
    Cancelled,
    EmptyRange,  // no frame in the range, or the range lies outside the stream
    ReadError,   // the file could not be read, or became shorter
    DecodeError, // a frame the decoder refused, or output of the wrong length
};

struct TDecodeResult {
    TDecodeStatus Status = TDecodeStatus::Done;
    std::string Message;  // what went wrong, for a person
    TPcmFormat Format;
    int64_t Samples = 0;  // per channel, delivered to the consumer
    int64_t LeadSamples = 0; // of one chunk: its check frames' samples before them
    // Joins of chunks whose check frames differed from the chunk before:
    // decoded again from another frame, and (after all tries) left unequal.
    int JoinsRedone = 0;
    int JoinsUnequal = 0;
};

} // namespace vivizu
