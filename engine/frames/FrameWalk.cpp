#include "engine/frames/FrameWalk.h"

#include "engine/tags/Id3v2Size.h"

#include <algorithm>
#include <cstring>

namespace vivizu {
namespace {

// Enough bytes from a step's start to see a frame header and every place an
// encoder header frame can carry its tag.
constexpr size_t StepLookahead = 40;
constexpr int VbriOffset = 36;
// How far a run of bytes that holds no frame and no tag is looked through
// in one step.
constexpr size_t RunLookahead = 64 * 1024;

bool BytesAt(std::span<const uint8_t> bytes, size_t offset, const char* text)
{
    return bytes.size() >= offset + 4 && std::memcmp(bytes.data() + offset, text, 4) == 0;
}

// Where steps of `stride` bytes from the run's start, over bytes that are
// no frame and no tag, come to the next place that may begin one (its first
// byte is 0xFF or 'I'), or to the end of what was looked through. Memory
// speed over long runs (zeros in a damaged or sparse file) instead of one
// step per place; the walk's results are the same.
size_t EndOfRun(std::span<const uint8_t> run, size_t stride)
{
    size_t offset = stride;
    while (offset < run.size()) {
        // Zero bytes, the common long run, 32 at a time.
        if (offset + 32 <= run.size()) {
            uint64_t words[4];
            std::memcpy(words, run.data() + offset, sizeof words);
            if ((words[0] | words[1] | words[2] | words[3]) == 0) {
                offset += 32;
                continue;
            }
        }
        if (run[offset] == 0xFF || run[offset] == 'I')
            break;
        offset += stride;
    }
    return std::max(offset, stride);
}

} // namespace

int HeaderFrameTagOffset(TMpegHeader header)
{
    return 4 + header.SideInfoSize();
}

bool IsHeaderFrame(std::span<const uint8_t> frame)
{
    if (frame.size() < 4)
        return false;
    const size_t offset = static_cast<size_t>(HeaderFrameTagOffset(TMpegHeader::At(frame.data())));
    // Nearly every frame is audio: one look at the first letters decides.
    const bool maybe = (frame.size() > offset && (frame[offset] == 'X' || frame[offset] == 'I')) ||
                       (frame.size() > VbriOffset && (frame[VbriOffset] == 'X' || frame[VbriOffset] == 'V'));
    return maybe && (BytesAt(frame, offset, "Xing") || BytesAt(frame, offset, "Info") ||
           BytesAt(frame, VbriOffset, "Xing") || BytesAt(frame, VbriOffset, "VBRI"));
}

TFrameWalker::TFrameWalker(TInputFile& input, int64_t from, int64_t audioEnd, TWalkRule rule, bool inStep)
    : FInput(input), FPosition(from), FAudioEnd(audioEnd), FRule(rule), FInStep(inStep)
{
}

TFrameStep TFrameWalker::Next()
{
    FInput.SeekTo(FPosition);
    const TFrameStep step = FRule == TWalkRule::Grid ? GridStep() : DecoderStep();
    if (step.Kind == TStepKind::EndOfAudio)
        FEnded = true;
    else
        FPosition = step.End;
    FInStep = step.Kind == TStepKind::AudioFrame || step.Kind == TStepKind::HeaderFrame;
    return step;
}

TFrameStep TFrameWalker::FrameStep(TMpegHeader header, int32_t length)
{
    TFrameStep step;
    step.Start = FPosition;
    step.Header = header;
    if (FPosition + length > FAudioEnd) {
        step.Kind = TStepKind::EndOfAudio;
        step.End = FPosition;
        return step;
    }
    step.End = FPosition + length;
    step.Kind = IsHeaderFrame(FInput.Peek(StepLookahead)) ? TStepKind::HeaderFrame : TStepKind::AudioFrame;
    return step;
}

bool TFrameWalker::TagStep(std::span<const uint8_t> head, TFrameStep& step)
{
    if (head.size() < 3 || std::memcmp(head.data(), "ID3", 3) != 0)
        return false;
    uint8_t header[10] = {}; // header bytes the file does not hold read as 0
    std::copy_n(head.begin(), std::min<size_t>(10, head.size()), header);
    step.Kind = TStepKind::Tag;
    step.Start = FPosition;
    step.End = FPosition + ID3v2TagLength(header);
    return true;
}

TFrameStep TFrameWalker::GridStep()
{
    const std::span<const uint8_t> head = FInput.Peek(StepLookahead);
    TFrameStep step;
    step.Start = FPosition;
    step.End = FPosition + 4;
    if (head.size() >= 4 && head[0] == 0xFF) {
        const TMpegHeader header = TMpegHeader::At(head.data());
        if (const int32_t length = header.FrameLength(); length > 0)
            return FrameStep(header, length);
        return step; // not a frame: passed over like any other four bytes
    }
    if (TagStep(head, step))
        return step;
    if (head.size() >= 4)
        step.End = FPosition + static_cast<int64_t>(EndOfRun(FInput.Peek(RunLookahead), 4));
    return step;
}

bool TFrameWalker::ChainGoesOn(TMpegHeader header, int64_t at)
{
    if (at >= FAudioEnd - 4)
        return true;
    FInput.Seek(at, TSeekOrigin::Begin);
    const std::span<const uint8_t> next = FInput.Peek(8);
    FInput.Seek(FPosition, TSeekOrigin::Begin);
    if (next.size() < 4)
        return true;
    // A tag after the frame (an APE tag whose size could not be believed
    // lies inside the audio) ends the chain as the end of the audio does.
    if (BytesAt(next, 0, "APET") || BytesAt(next, 0, "ID3\0") || std::memcmp(next.data(), "ID3", 3) == 0 ||
        std::memcmp(next.data(), "TAG", 3) == 0)
        return true;
    const TMpegHeader following = TMpegHeader::At(next.data());
    return following.HasSync() && following.InTables() && following.Layer() == header.Layer();
}

TFrameStep TFrameWalker::DecoderStep()
{
    const std::span<const uint8_t> head = FInput.Peek(StepLookahead);
    TFrameStep step;
    step.Start = FPosition;
    step.End = FPosition + 1;
    if (head.size() >= 4 && head[0] == 0xFF) {
        const TMpegHeader header = TMpegHeader::At(head.data());
        const int32_t length = header.HasSync() ? header.FrameLength() : 0;
        // In step with the frame before, a header is a frame; after anything
        // else decoders take it only when the chain goes on from it.
        if (length > 0 && (FInStep || FPosition + length > FAudioEnd || ChainGoesOn(header, FPosition + length)))
            return FrameStep(header, length);
        return step; // no frame that decoders would play: look on from the next byte
    }
    if (TagStep(head, step))
        return step;
    if (head.size() >= 4)
        step.End = FPosition + static_cast<int64_t>(EndOfRun(FInput.Peek(RunLookahead), 1));
    return step;
}

TZeroScan SkipZeroPadding(TInputFile& input)
{
    const int64_t start = input.Position();
    for (;;) {
        const std::span<const uint8_t> bytes = input.Peek(TInputFile::BufferSize);
        if (bytes.empty())
            break;
        const auto nonZero = std::find_if(bytes.begin(), bytes.end(), [](uint8_t v) { return v != 0; });
        input.Seek(nonZero - bytes.begin(), TSeekOrigin::Current);
        if (nonZero != bytes.end())
            return {input.Position(), input.Position() - start};
    }
    return {-1, std::max<int64_t>(0, input.Size() - start)};
}

} // namespace vivizu
