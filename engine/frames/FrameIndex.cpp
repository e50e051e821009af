#include "engine/frames/FrameIndex.h"

#include <algorithm>
#include <limits>

namespace vivizu {

TFrameIndex::TFrameIndex(int64_t audioStart, int64_t audioEnd, TWalkRule rule)
    : FAudioStart(audioStart), FAudioEnd(audioEnd), FRule(rule), FPosition(audioStart)
{
}

template <class More>
void TFrameIndex::WalkWhile(TInputFile& input, const More& more)
{
    if (FComplete || !more())
        return;
    TFrameWalker walker(input, FPosition, FAudioEnd, FRule, FInStep);
    while (Step(walker) && more()) {
    }
}

bool TFrameIndex::Step(TFrameWalker& walker)
{
    const TFrameStep step = walker.AtEnd() ? TFrameStep{TStepKind::EndOfAudio, 0, 0, TMpegHeader{}} : walker.Next();
    if (step.Kind == TStepKind::EndOfAudio) {
        // The whole index stays resident: no room kept for frames to come.
        FComplete = true;
        FHeaders.shrink_to_fit();
        FOffsets.shrink_to_fit();
        FBlocks.shrink_to_fit();
        return false;
    }
    FPosition = step.End;
    FInStep = walker.InStep();
    if (step.Kind == TStepKind::AudioFrame) {
        Add(step);
        if (FVisitor)
            FVisitor(walker.BytesOf(step, std::min<size_t>(FVisitorReach, static_cast<size_t>(step.Length()))),
                     step.Header);
    } else
        Pass(step);
    return true;
}

void TFrameIndex::ExtendToCount(TInputFile& input, size_t count)
{
    WalkWhile(input, [&] { return Count() < count; });
}

void TFrameIndex::ExtendToTime(TInputFile& input, TStreamTime time)
{
    // The frame that starts at or after time is indexed once the frames
    // before it add up to time or more.
    WalkWhile(input, [&] { return FDuration < time; });
    const size_t wanted = FirstAtOrAfter(time);
    ExtendToCount(input, wanted + 1);
}

void TFrameIndex::ExtendToEnd(TInputFile& input)
{
    WalkWhile(input, [] { return true; });
}

void TFrameIndex::VisitFrameBytes(TFrameBytesVisitor visitor, size_t reach)
{
    FVisitor = std::move(visitor);
    FVisitorReach = reach;
}

void TFrameIndex::Add(const TFrameStep& step)
{
    const size_t i = FHeaders.size();
    if (i == 0) {
        // Room for as many frames as the audio holds at the first frame's
        // length: the vectors do not grow and copy step by step. What is not
        // used is never touched, so it costs address space only.
        const size_t estimate = static_cast<size_t>((FAudioEnd - step.Start) / std::max(step.Length(), 24)) + 64;
        FHeaders.reserve(estimate);
        FOffsets.reserve(estimate);
        FBlocks.reserve(estimate / BlockFrames + 1);
    }
    const bool newBlock = i % BlockFrames == 0 || FBlocks.empty() ||
                          step.Start - FBlocks.back().Base > std::numeric_limits<uint32_t>::max();
    if (newBlock)
        FBlocks.push_back({step.Start, FDuration, i});
    if (i > 0 && !step.Header.SameFormat(TMpegHeader(FHeaders.back())))
        FFormatChanges.push_back(i);
    FHeaders.push_back(step.Header.Bits());
    FOffsets.push_back(static_cast<uint32_t>(step.Start - FBlocks.back().Base));
    FDuration += step.Header.Duration();
}

void TFrameIndex::Pass(const TFrameStep& step)
{
    if (step.Kind == TStepKind::Other && !FPassedOver.empty() && FPassedOver.back().Kind == TStepKind::Other &&
        FPassedOver.back().End == step.Start) {
        FPassedOver.back().End = step.End;
        return;
    }
    FPassedOver.push_back({step.Kind, step.Start, step.End, Count()});
}

size_t TFrameIndex::BlockOf(size_t i) const
{
    // Blocks start at least every BlockFrames frames, and more often only
    // after a gap of gigabytes: the block is at or after i / BlockFrames,
    // nearly always that one. The writers ask once per frame.
    size_t block = std::min(i / BlockFrames, FBlocks.size() - 1);
    while (block + 1 < FBlocks.size() && FBlocks[block + 1].First <= i)
        ++block;
    return block;
}

TIndexedFrame TFrameIndex::Frame(size_t i) const
{
    const TBlock& block = FBlocks[BlockOf(i)];
    TIndexedFrame frame;
    frame.Position = block.Base + FOffsets[i];
    frame.Header = TMpegHeader(FHeaders[i]);
    frame.Start = block.Start;
    for (size_t k = block.First; k < i; ++k)
        frame.Start += TMpegHeader(FHeaders[k]).Duration();
    return frame;
}

TStreamTime TFrameIndex::StartOf(size_t i) const
{
    return i >= Count() ? FDuration : Frame(i).Start;
}

size_t TFrameIndex::FirstAtOrAfter(TStreamTime time) const
{
    if (FBlocks.empty() || time > FDuration)
        return Count();
    // The last block that starts before time holds the answer, or the answer
    // is the next block's first frame.
    const auto it = std::lower_bound(FBlocks.begin(), FBlocks.end(), time,
                                     [](const TBlock& block, TStreamTime t) { return block.Start < t; });
    if (it == FBlocks.begin())
        return 0;
    const TBlock& block = *(it - 1);
    const size_t end = it == FBlocks.end() ? Count() : it->First;
    TStreamTime start = block.Start;
    for (size_t k = block.First; k < end; ++k) {
        if (start >= time)
            return k;
        start += TMpegHeader(FHeaders[k]).Duration();
    }
    return end;
}

size_t TFrameIndex::FormatRunStart(size_t i) const
{
    const auto it = std::upper_bound(FFormatChanges.begin(), FFormatChanges.end(), i);
    return it == FFormatChanges.begin() ? 0 : *(it - 1);
}

size_t TFrameIndex::FormatRunEnd(size_t i) const
{
    const auto it = std::upper_bound(FFormatChanges.begin(), FFormatChanges.end(), i);
    return it == FFormatChanges.end() ? Count() : *it;
}

std::optional<TPassedOver> TFrameIndex::LeadingHeaderFrame() const
{
    for (const TPassedOver& passed : FPassedOver) {
        if (passed.BeforeFrame > 0)
            break;
        if (passed.Kind == TStepKind::HeaderFrame)
            return passed;
    }
    return std::nullopt;
}

size_t TFrameIndex::MemoryBytes() const
{
    return FHeaders.capacity() * sizeof(uint32_t) + FOffsets.capacity() * sizeof(uint32_t) +
           FBlocks.capacity() * sizeof(TBlock) + FPassedOver.capacity() * sizeof(TPassedOver) +
           FFormatChanges.capacity() * sizeof(size_t);
}

} // namespace vivizu
