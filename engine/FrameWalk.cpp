#include "engine/FrameWalk.h"

#include <algorithm>
#include <cstring>

namespace vivizu {
namespace {

// Enough bytes from a step's start to see a frame header and every place an
// encoder header frame can carry its tag.
constexpr size_t StepLookahead = 40;
constexpr int VbriOffset = 36;

bool BytesAt(std::span<const uint8_t> bytes, size_t offset, const char* text)
{
    return bytes.size() >= offset + 4 && std::memcmp(bytes.data() + offset, text, 4) == 0;
}

// How far a run of bytes that holds no frame and no tag is looked through
// in one step.
constexpr size_t RunLookahead = 64 * 1024;

// What one step from the input's position covers.
struct TStepPlan {
    int64_t Start = 0;
    int64_t End = 0;
    int32_t Length = 0;       // > 0 only for an audio frame
    double DurationMs = 0.0;
    TStreamTime Duration;
    bool EndOfAudio = false;
};

// Where steps of four from the input's position, over bytes that are no
// frame and no tag, come to the next group of four that may begin one (its
// first byte is 0xFF or 'I'), or to the end of what was looked through.
// Memory speed over long runs (zeros in a damaged or sparse file) instead of
// one step per four bytes; the walk's results are the same.
int64_t EndOfRun(TInputFile& input)
{
    const std::span<const uint8_t> run = input.Peek(RunLookahead);
    size_t offset = 4;
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
        offset += 4;
    }
    return input.Position() + static_cast<int64_t>(std::max<size_t>(offset, 4));
}

TStepPlan PlanStep(TInputFile& input, int64_t audioEnd)
{
    TStepPlan plan;
    plan.Start = input.Position();
    plan.End = plan.Start + 4;
    const std::span<const uint8_t> head = input.Peek(StepLookahead);
    const uint8_t* b = head.data();

    if (head.size() >= 4 && b[0] == 0xFF) {
        const TFrameExtent extent = FrameExtentOf(b);
        if (extent.Length == 0)
            return plan; // not a frame: passed over like any other four bytes
        if (plan.Start + extent.Length > audioEnd) {
            plan.End = plan.Start;
            plan.EndOfAudio = true;
            return plan;
        }
        plan.End = plan.Start + extent.Length;
        if (!IsHeaderFrame(head)) {
            plan.Length = extent.Length;
            plan.DurationMs = extent.DurationMs;
            plan.Duration = extent.Duration;
        }
    } else if (head.size() >= 3 && std::memcmp(b, "ID3", 3) == 0) {
        uint8_t header[10] = {}; // header bytes the file does not hold read as 0
        std::copy(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(10, head.size())), header);
        plan.End = plan.Start + ID3v2TagLength(header);
    } else if (head.size() >= 4) {
        plan.End = EndOfRun(input);
    }
    return plan;
}

TFrameStep StepResult(const TStepPlan& plan)
{
    TFrameStep step;
    step.Position = plan.End;
    step.Length = plan.Length;
    step.DurationMs = plan.DurationMs;
    step.Duration = plan.Duration;
    step.EndOfAudio = plan.EndOfAudio;
    return step;
}

} // namespace

int HeaderFrameTagOffset(const uint8_t* b)
{
    const bool mpeg1 = ((b[1] >> 3) & 3) == 3;
    const bool mono = ((b[3] >> 6) & 3) == 3;
    if (mpeg1)
        return mono ? 21 : 36;
    return mono ? 13 : 21;
}

bool IsHeaderFrame(std::span<const uint8_t> frame)
{
    if (frame.size() < 4)
        return false;
    const size_t offset = static_cast<size_t>(HeaderFrameTagOffset(frame.data()));
    return BytesAt(frame, offset, "Xing") || BytesAt(frame, offset, "Info") ||
           BytesAt(frame, VbriOffset, "Xing") || BytesAt(frame, VbriOffset, "VBRI");
}

TFrameStep SkipFrame(TInputFile& input, int64_t audioEnd)
{
    const TStepPlan plan = PlanStep(input, audioEnd);
    input.Seek(plan.End, TSeekOrigin::Begin);
    return StepResult(plan);
}

TFrameStep SkipFrame(TInputFile& input)
{
    return SkipFrame(input, input.Size());
}

TStreamTime SkipFramesUntil(TInputFile& input, int64_t audioEnd, TStreamTime until)
{
    TStreamTime elapsed;
    while (input.Position() < audioEnd - 4 && elapsed < until) {
        const TStepPlan plan = PlanStep(input, audioEnd);
        if (plan.EndOfAudio)
            break;
        input.Seek(plan.End, TSeekOrigin::Begin);
        elapsed += plan.Duration;
    }
    return elapsed;
}

TFrameStep CopyFrame(TInputFile& input, TOutputFile& output, int64_t audioEnd)
{
    const TStepPlan plan = PlanStep(input, audioEnd);
    if (plan.Length > 0) {
        const std::span<const uint8_t> frame = input.Take(static_cast<size_t>(plan.Length));
        if (frame.size() < static_cast<size_t>(plan.Length))
            throw TStreamReadError(input.FileName());
        output.Write(frame);
    }
    input.Seek(plan.End, TSeekOrigin::Begin);
    return StepResult(plan);
}

TFrameStep CopyFrame(TInputFile& input, TOutputFile& output)
{
    return CopyFrame(input, output, input.Size());
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
