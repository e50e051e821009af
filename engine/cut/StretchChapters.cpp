#include "engine/cut/StretchChapters.h"

#include "engine/TimeText.h"
#include "engine/cut/LengthHeader.h"

#include <algorithm>

namespace vivizu {

std::vector<TChapter> StretchChapters(const TCutPlan& plan, TStreamTime firstSource, TStreamTime sourceZero)
{
    std::vector<TChapter> chapters;
    if (plan.Empty())
        return chapters;
    const TFrameIndex& index = *plan.Index;
    const TMpegHeader format = plan.AudioHeader();
    const TStreamTime frame = format.Duration();
    const int rate = format.SampleRate();
    const TStreamTime lead =
        plan.Delay > 0 ? TStreamTime::FromSamples(plan.Delay + DecoderDelay, rate) : TStreamTime{};
    const auto played = [&](TStreamTime at) { return static_cast<uint32_t>(std::max(at - lead, TStreamTime{}).WholeMs()); };

    TStreamTime at;
    const auto run = [&](bool carried, size_t first, size_t last) {
        if (!chapters.empty())
            chapters.back().EndMs = played(at);
        const TStreamTime source = chapters.empty() ? firstSource : index.StartOf(first) - sourceZero;
        chapters.push_back({played(at), 0, FormatTimeText(std::max(source, TStreamTime{}).WholeMs())});
        if (carried)
            at += frame;
        for (size_t i = first; i < last; ++i)
            at += index.HeaderOf(i).Duration();
    };
    run(!plan.ReservoirFrame.empty(), plan.First, plan.Last);
    for (const TPlanRun& later : plan.Later)
        run(!later.ReservoirFrame.empty(), later.First, later.Last);
    // The padding counts the decoder's delay, which the lead holds already.
    const TStreamTime padding =
        plan.Delay > 0 ? TStreamTime::FromSamples(std::max(plan.Padding - DecoderDelay, 0), rate) : TStreamTime{};
    chapters.back().EndMs = played(at - padding);
    return chapters;
}

} // namespace vivizu
