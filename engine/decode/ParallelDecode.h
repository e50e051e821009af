#pragma once
// A range of frames decoded on several threads: the range is cut into chunks
// at frame boundaries, each chunk decoded by its own libmpg123 decoder from a
// few frames earlier, so that the joined samples equal those of one decode of
// the whole range, sample for sample.
#include "engine/decode/ChunkDecoder.h"
#include "engine/decode/DecodeTypes.h"

#include <functional>
#include <memory>
#include <vector>

namespace vivizu {

// The frame where the decode for a chunk beginning at frame `first` starts:
// early enough that the bit reservoir of the frame before it is complete
// (1 KB of frame bytes before it, twice the largest reservoir) and the filter
// bank has run through a whole frame, and a multiple of 8 frames from the
// stream's start, which mostly keeps the synthesis filter's ring buffer in
// the phase of a decode from the start, so that its sums round alike.
size_t WarmUpStart(const TFrameStarts& starts, size_t first);

// The chunks of [first, last): boundaries at multiples of 8 frames, about
// chunkFrames frames each; every chunk but the first decodes checkFrames
// frames of the chunk before it again.
std::vector<TChunkFrames> PlanChunks(const TFrameStarts& starts, size_t first, size_t last,
                                     size_t chunkFrames, size_t checkFrames);

// Receives the samples of one chunk, in order, on the thread that decodes it.
class TChunkConsumer {
public:
    virtual ~TChunkConsumer() = default;
    virtual void Samples(std::span<const float> interleaved) = 0;
    // The samples of the chunk's check frames, which come first; by default
    // taken as the chunk's samples.
    virtual void Lead(std::span<const float> interleaved) { Samples(interleaved); }
    // The chunk is complete (not called for a chunk that failed); the first
    // leadSamples samples were those of its check frames.
    virtual void Finish(int64_t /*leadSamples*/) {}
};
using TChunkConsumerFactory =
    std::function<std::unique_ptr<TChunkConsumer>(size_t chunk, const TPcmFormat& format)>;

// Decodes range in chunks of the options' ChunkFrames (with checkFrames
// frames before each but the first) on the options' threads; the factory is called once per chunk, from any thread. The format
// is that of the range's first frame; every frame is decoded to it. plan, if
// given, receives the chunks; onStop is called on a thread that stops early
// (an error or the decode cancelled).
TDecodeResult DecodeChunks(const std::string& fileName, const TDecodeRange& range, const TDecodeOptions& options,
                           size_t checkFrames, const TChunkConsumerFactory& factory,
                           std::vector<TChunkFrames>* plan = nullptr,
                           const std::function<void()>& onStop = {});

// Receives all samples of a range in their order.
class TPcmSink {
public:
    virtual ~TPcmSink() = default;
    virtual void Begin(const TPcmFormat& /*format*/) {}
    virtual void Samples(std::span<const float> interleaved) = 0;
    // The samples of the chunk's check frames, which come first; by default
    // taken as the chunk's samples.
    virtual void Lead(std::span<const float> interleaved) { Samples(interleaved); }
};

// Decodes range on the options' threads and hands its samples to sink in
// order (one call at a time, from the decoding threads). Each chunk's check
// frames are compared with the end of the chunk before, to the bit; when
// they differ (the filter's rounding depends on where its decode began) the
// chunk is decoded again from up to 15 frames earlier until they agree.
TDecodeResult DecodeInOrder(const std::string& fileName, const TDecodeRange& range, const TDecodeOptions& options,
                            TPcmSink& sink);

} // namespace vivizu
