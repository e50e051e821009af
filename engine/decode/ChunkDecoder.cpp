#include "engine/decode/ChunkDecoder.h"

#include "engine/io/FileStream.h"
#include "engine/frames/MpegHeader.h"

#include <mpg123.h>

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace vivizu {

namespace {

TDecodeResult Failure(TDecodeStatus status, std::string message)
{
    TDecodeResult r;
    r.Status = status;
    r.Message = std::move(message);
    return r;
}

bool IsFrameHeader(std::span<const uint8_t> b)
{
    return b.size() >= 4 && TMpegHeader::At(b.data()).HasSync() && TMpegHeader::At(b.data()).InTables();
}

} // namespace

TPcmFormat FrameFormatAt(TInputFile& input, int64_t position)
{
    input.Seek(position, TSeekOrigin::Begin);
    const auto b = input.Peek(4);
    if (!IsFrameHeader(b))
        return {};
    const TMpegHeader header = TMpegHeader::At(b.data());
    return {header.SampleRate(), header.Channels()};
}

struct TChunkDecoder::THandle {
    mpg123_handle* H = nullptr;
    ~THandle()
    {
        if (H != nullptr)
            mpg123_delete(H);
    }
};

TChunkDecoder::TChunkDecoder(const TPcmFormat& format)
    : FHandle(std::make_unique<THandle>()), FFormat(format)
{
}

TChunkDecoder::~TChunkDecoder() = default;

TDecodeResult TChunkDecoder::Decode(TInputFile& input, const TFrameStarts& starts, const TChunkFrames& chunk,
                                    const std::function<bool()>& stopped, const TSamples& samples)
{
    // A fresh decoder for every chunk: nothing of an earlier chunk's state
    // may reach this one's samples.
    int error = MPG123_OK;
    mpg123_handle* h = mpg123_new(nullptr, &error);
    if (h == nullptr)
        return Failure(TDecodeStatus::DecodeError, std::string("libmpg123: ") + mpg123_plain_strerror(error));
    if (FHandle->H != nullptr)
        mpg123_delete(FHandle->H);
    FHandle->H = h;
    // Every frame's samples, none trimmed as encoder delay, no messages on
    // the terminal; one fixed output format for the whole stream.
    mpg123_param(h, MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0);
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_IGNORE_INFOFRAME, 0);
    mpg123_format_none(h);
    if (mpg123_format(h, FFormat.SampleRate, FFormat.Channels == 1 ? MPG123_MONO : MPG123_STEREO,
                      MPG123_ENC_FLOAT_32) != MPG123_OK
        || mpg123_open_feed(h) != MPG123_OK)
        return Failure(TDecodeStatus::DecodeError, std::string("libmpg123: ") + mpg123_strerror(h));

    const size_t channels = static_cast<size_t>(FFormat.Channels);
    int64_t skip = 0;     // samples per channel of the warm-up frames
    int64_t expected = 0; // samples per channel the chunk must deliver
    int64_t lead = 0;     // of them, those of the check frames
    TDecodeResult result;
    result.Format = FFormat;
    try {
        size_t next = chunk.Warm; // the next frame to feed
        if (chunk.Check < chunk.Warm || chunk.Check > chunk.First)
            return Failure(TDecodeStatus::DecodeError, "a chunk's check frames lie outside it");
        // Frames past Last are fed only when the decoder holds back the
        // last frame until it sees the next header; their output is dropped.
        const size_t feedEnd = std::min(starts.size() - 1, chunk.Last + 2);
        while (result.Samples < expected || next < chunk.Last) {
            if (stopped()) {
                result.Status = TDecodeStatus::Cancelled;
                return result;
            }
            if (next >= feedEnd)
                return Failure(TDecodeStatus::DecodeError,
                               "the decoder gave " + std::to_string(result.Samples) + " of "
                                   + std::to_string(expected) + " samples of the frames before byte "
                                   + std::to_string(starts[chunk.Last]));
            const int64_t at = starts[next];
            input.Seek(at, TSeekOrigin::Begin);
            const auto head = input.Peek(4);
            if (!IsFrameHeader(head)) {
                // A damaged stretch: decoders pass over what holds no
                // header, and so does the decode; it gives no samples.
                ++next;
                continue;
            }
            const TMpegHeader header = TMpegHeader::At(head.data());
            if (next < chunk.Check) {
                skip += header.SamplesPerFrame();
            } else if (next < chunk.Last) {
                expected += header.SamplesPerFrame();
                if (next < chunk.First)
                    lead += header.SamplesPerFrame();
            }
            const int64_t length = std::min<int64_t>(header.FrameLength(), starts[next + 1] - at);
            const auto bytes = input.Take(static_cast<size_t>(length));
            if (static_cast<int64_t>(bytes.size()) < length)
                return Failure(TDecodeStatus::ReadError,
                               input.FileName() + ": the file ends inside the frame at byte " + std::to_string(at));
            ++next;
            if (mpg123_feed(h, bytes.data(), bytes.size()) != MPG123_OK)
                return Failure(TDecodeStatus::DecodeError, std::string("libmpg123: ") + mpg123_strerror(h));
            for (;;) {
                off_t frameNumber = 0;
                unsigned char* audio = nullptr;
                size_t audioBytes = 0;
                const int code = mpg123_decode_frame(h, &frameNumber, &audio, &audioBytes);
                if (code == MPG123_NEED_MORE)
                    break;
                if (code == MPG123_NEW_FORMAT)
                    continue;
                if (code != MPG123_OK)
                    return Failure(TDecodeStatus::DecodeError,
                                   "libmpg123 at byte " + std::to_string(at) + ": " + mpg123_strerror(h));
                std::span<const float> pcm(reinterpret_cast<const float*>(audio), audioBytes / sizeof(float));
                int64_t count = static_cast<int64_t>(pcm.size() / channels);
                const int64_t dropped = std::min(skip, count);
                skip -= dropped;
                count -= dropped;
                pcm = pcm.subspan(static_cast<size_t>(dropped) * channels);
                // Output past the chunk's frames (of frames fed only for the
                // decoder's look-ahead) is dropped.
                count = std::min(count, expected - result.Samples);
                if (count > 0) {
                    // Samples come out in the order their frames went in:
                    // those before the lead count fed so far are the check
                    // frames', the rest the chunk's own.
                    const int64_t leading = std::clamp<int64_t>(lead - result.Samples, 0, count);
                    if (leading > 0)
                        samples(pcm.first(static_cast<size_t>(leading) * channels), true);
                    if (count > leading)
                        samples(pcm.subspan(static_cast<size_t>(leading) * channels,
                                            static_cast<size_t>(count - leading) * channels),
                                false);
                    result.Samples += count;
                }
            }
        }
    } catch (const std::system_error& e) {
        return Failure(TDecodeStatus::ReadError, e.what());
    }
    result.Samples -= lead;
    result.LeadSamples = lead;
    return result;
}

} // namespace vivizu
