#pragma once
// One chunk of a stream decoded with libmpg123: frames [Warm, Last) are fed
// to the decoder, frame by frame, and the samples of frames [Check, Last) are
// handed on; the output of the warm-up frames before Check (which fill the
// bit reservoir and the filter bank) is dropped by its sample count.
#include "engine/decode/DecodeTypes.h"

#include <functional>
#include <memory>

namespace vivizu {

class TInputFile;

// Frames [Warm, Check) warm the decoder up and give no output; the samples
// of frames [Check, First), handed on before the chunk's own, let the join
// compare them with the end of the chunk before.
struct TChunkFrames {
    size_t Warm = 0;
    size_t Check = 0;
    size_t First = 0;
    size_t Last = 0;
};

// The sample rate and channel count of the frame at position, from its
// header; zeros when no frame header is there.
TPcmFormat FrameFormatAt(TInputFile& input, int64_t position);

class TChunkDecoder {
public:
    // Receives decoded samples in order; lead is true for those of the
    // check frames.
    using TSamples = std::function<void(std::span<const float> pcm, bool lead)>;

    // format: what every frame of the stream is decoded to (the rate and
    // channel count of the range's first frame).
    explicit TChunkDecoder(const TPcmFormat& format);
    ~TChunkDecoder();
    TChunkDecoder(const TChunkDecoder&) = delete;
    TChunkDecoder& operator=(const TChunkDecoder&) = delete;

    // Decodes the chunk's frames of starts (as in TDecodeRange) read from
    // input; samples may be called several times. Ends as Cancelled as soon
    // as stopped() says so, checked before each frame. Returns Done, Cancelled,
    // ReadError or DecodeError with its message.
    TDecodeResult Decode(TInputFile& input, const TFrameStarts& starts, const TChunkFrames& chunk,
                         const std::function<bool()>& stopped, const TSamples& samples);

private:
    struct THandle;
    std::unique_ptr<THandle> FHandle;
    TPcmFormat FFormat;
};

} // namespace vivizu
