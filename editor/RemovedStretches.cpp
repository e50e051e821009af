#include "editor/RemovedStretches.h"

#include <algorithm>

namespace vivizu {

TRemovedList WithStretch(TRemovedList list, TRemoved stretch) {
    if (stretch.ToMs <= stretch.FromMs)
        return list;
    TRemovedList merged;
    merged.reserve(list.size() + 1);
    for (const TRemoved& r : list) {
        if (r.ToMs < stretch.FromMs || r.FromMs > stretch.ToMs) {
            merged.push_back(r);
            continue;
        }
        stretch.FromMs = std::min(stretch.FromMs, r.FromMs);
        stretch.ToMs = std::max(stretch.ToMs, r.ToMs);
    }
    const auto at = std::find_if(merged.begin(), merged.end(),
                                 [&](const TRemoved& r) { return r.FromMs > stretch.FromMs; });
    merged.insert(at, stretch);
    return merged;
}

bool SameStretches(const TRemovedList& a, const TRemovedList& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TRemoved& x, const TRemoved& y) {
                          return x.FromMs == y.FromMs && x.ToMs == y.ToMs;
                      });
}

std::optional<std::size_t> StretchAt(const TRemovedList& list, int64_t time) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].FromMs <= time && time <= list[i].ToMs)
            return i;
    return std::nullopt;
}

TRemovedList RemovedWithin(const TRemovedList& list, int64_t from, int64_t to) {
    TRemovedList within;
    for (const TRemoved& r : list) {
        const TRemoved part{std::max(r.FromMs, from), std::min(r.ToMs, to)};
        if (part.ToMs > part.FromMs)
            within.push_back(part);
    }
    return within;
}

int64_t KeptLength(const TRemovedList& list, int64_t from, int64_t to) {
    int64_t kept = std::max<int64_t>(0, to - from);
    for (const TRemoved& r : RemovedWithin(list, from, to))
        kept -= r.ToMs - r.FromMs;
    return kept;
}

int64_t SourceTimeOfCut(const TRemovedList& list, int64_t from, int64_t t) {
    int64_t at = from + t;
    for (const TRemoved& r : list) {
        if (r.ToMs <= from)
            continue;
        const int64_t removedFrom = std::max(r.FromMs, from);
        if (removedFrom > at)
            break;
        at += r.ToMs - removedFrom;
    }
    return at;
}

} // namespace vivizu
