#include "engine/cut/CutPlan.h"

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

} // namespace vivizu
