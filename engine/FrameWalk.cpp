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

// What one step from the input's position covers.
struct TStepPlan {
    int64_t Start = 0;
    int64_t End = 0;
    int32_t Length = 0;       // > 0 only for an audio frame
    double DurationMs = 0.0;
    TStreamTime Duration;
};

TStepPlan PlanStep(TInputFile& input)
{
    TStepPlan plan;
    plan.Start = input.Position();
    plan.End = plan.Start + 4;
    const std::span<const uint8_t> head = input.Peek(StepLookahead);
    const uint8_t* b = head.data();

    if (head.size() >= 4 && b[0] == 0xFF) {
        const TFrameExtent extent = FrameExtentOf(b);
        if (extent.Length == 0)
            return plan; // not a frame: passed over like any other bytes
        plan.End = plan.Start + extent.Length;
        if (!IsHeaderFrame(head)) {
            plan.Length = extent.Length;
            plan.DurationMs = extent.DurationMs;
            plan.Duration = extent.Duration;
        }
    } else if (head.size() >= 3 && std::memcmp(b, "ID3", 3) == 0) {
        uint8_t size[4] = {}; // size bytes the file does not hold read as 0
        for (size_t i = 6; i < 10 && i < head.size(); ++i)
            size[i - 6] = b[i];
        plan.End = plan.Start + 10 + ID3v2TagSize(size);
    }
    return plan;
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

TFrameStep SkipFrame(TInputFile& input)
{
    const TStepPlan plan = PlanStep(input);
    input.Seek(plan.End, TSeekOrigin::Begin);
    return {plan.End, plan.Length, plan.DurationMs, plan.Duration};
}

TFrameStep CopyFrame(TInputFile& input, TOutputFile& output)
{
    const TStepPlan plan = PlanStep(input);
    if (plan.Length > 0) {
        const std::span<const uint8_t> frame = input.Take(static_cast<size_t>(plan.Length));
        if (frame.size() < static_cast<size_t>(plan.Length))
            throw TStreamReadError(input.FileName());
        output.Write(frame);
    }
    input.Seek(plan.End, TSeekOrigin::Begin);
    return {plan.End, plan.Length, plan.DurationMs, plan.Duration};
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
