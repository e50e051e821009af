#include "engine/cut/CutPlan.h"

#include "engine/cut/ExactCut.h"
#include "engine/cut/ReservoirFrame.h"

#include <algorithm>

namespace vivizu {

TCutPlan PlanPlainCut(TFrameIndex& index, TInputFile& input, int32_t StartMs, int32_t EndMs, bool open)
{
    TCutPlan plan;
    plan.Index = &index;
    const TStreamTime start = TStreamTime::FromMs(std::max(StartMs, 0));
    index.ExtendToTime(input, start);
    plan.First = index.FirstAtOrAfter(start);
    // The wanted duration in 64 bits: a 32-bit difference could wrap.
    plan.Wanted = std::max(TStreamTime{}, TStreamTime::FromMs(int64_t{EndMs} - StartMs));
    plan.Last = plan.First;
    if (plan.First >= index.Count() || plan.Wanted <= TStreamTime{})
        return plan;
    plan.Open = open;
    if (!open)
        plan.Close(input);
    return plan;
}

void TCutPlan::Close(TInputFile& input)
{
    Open = false;
    if (First >= Index->Count()) {
        Last = First;
        return;
    }
    const TStreamTime until = Index->StartOf(First) + Wanted;
    Index->ExtendToTime(input, until);
    Last = Index->FirstAtOrAfter(until);
    FromFirst = First == 0;
    ToLast = Index->Complete() && Last == Index->Count();
}

size_t TCutPlan::FrameCount() const
{
    if (Empty())
        return 0;
    size_t count = Last > First ? Last - First : 0;
    for (const TPlanRun& run : Later)
        count += run.Last - run.First;
    return count;
}

bool TCutPlan::OneFormat() const
{
    if (Empty())
        return true;
    const TMpegHeader first = AudioHeader();
    const auto sameFrom = [&](size_t from, size_t to) {
        return from >= to || (Index->HeaderOf(from).SameFormat(first) && Index->FormatRunEnd(from) >= to);
    };
    if (!sameFrom(First, Last))
        return false;
    for (const TPlanRun& run : Later)
        if (!sameFrom(run.First, run.Last))
            return false;
    return true;
}

size_t NearestBoundary(const TFrameIndex& index, TStreamTime time)
{
    const size_t after = index.FirstAtOrAfter(time);
    if (after == 0)
        return 0;
    const TStreamTime afterAt = after < index.Count() ? index.StartOf(after) : index.Duration();
    return afterAt - time <= time - index.StartOf(after - 1) ? after : after - 1;
}

void RemoveStretchesOpen(TCutPlan& plan, const std::vector<TRemoved>& removed)
{
    plan.OpenRemoved.clear();
    for (const TRemoved& r : removed)
        if (r.ToMs > r.FromMs)
            plan.OpenRemoved.emplace_back(TStreamTime::FromMs(std::max<int64_t>(r.FromMs, 0)),
                                          TStreamTime::FromMs(r.ToMs));
    std::sort(plan.OpenRemoved.begin(), plan.OpenRemoved.end());
}

bool RemoveStretches(TCutPlan& plan, TInputFile& input, const std::vector<TRemoved>& removed,
                     const TRemovalBounds& bounds)
{
    if (removed.empty() || plan.Empty())
        return true;
    TFrameIndex& index = *plan.Index;
    // The frames [a, b) to remove, in order and merged.
    std::vector<std::pair<size_t, size_t>> gaps;
    for (const TRemoved& r : removed) {
        if (r.ToMs <= r.FromMs)
            continue;
        const TStreamTime to = TStreamTime::FromMs(r.ToMs) + bounds.Shift;
        index.ExtendToTime(input, to);
        const TStreamTime from = std::max(TStreamTime::FromMs(r.FromMs) + bounds.Shift, TStreamTime{});
        const size_t a = std::max(NearestBoundary(index, from), bounds.HeadUntil);
        const size_t b = std::min(NearestBoundary(index, to), bounds.TailFrom);
        if (b > a)
            gaps.emplace_back(a, b);
    }
    std::sort(gaps.begin(), gaps.end());
    std::vector<std::pair<size_t, size_t>> kept;
    size_t at = plan.First;
    for (const auto& [a, b] : gaps) {
        if (a > at)
            kept.emplace_back(at, std::min(a, plan.Last));
        at = std::max(at, b);
        if (at >= plan.Last)
            break;
    }
    if (at < plan.Last)
        kept.emplace_back(at, plan.Last);
    std::erase_if(kept, [](const auto& run) { return run.second <= run.first; });

    plan.Later.clear();
    if (kept.empty()) {
        plan.Last = plan.First;
        return true;
    }
    const bool firstKept = kept.front().first == plan.First;
    plan.First = kept.front().first;
    plan.Last = kept.front().second;
    plan.FromFirst = plan.FromFirst && firstKept;
    for (size_t k = 1; k < kept.size(); ++k) {
        TPlanRun run{kept[k].first, kept[k].second, {}};
        const TMpegHeader header = index.HeaderOf(run.First);
        if (header.Layer() == 3) {
            const std::vector<uint8_t> borrowed = BorrowedBytes(input, index, 0, run.First);
            if (!borrowed.empty()) {
                run.ReservoirFrame = BuildReservoirFrame(header, borrowed);
                if (run.ReservoirFrame.empty())
                    return false;
            }
        }
        plan.Later.push_back(std::move(run));
    }
    const size_t last = kept.back().second;
    plan.ToLast = index.Complete() && last == index.Count();
    return true;
}

} // namespace vivizu
