#include "editor/Selection.h"

#include <algorithm>

namespace vivizu {

TSelection::TSelection(QObject* parent) : QObject(parent) {}

int32_t TSelection::RulerMax() const {
    return static_cast<int32_t>(static_cast<uint32_t>(FLength));
}

int64_t TSelection::BoundStart(int64_t t) const { return std::clamp<int64_t>(t, 0, FEnd); }

int64_t TSelection::BoundEnd(int64_t t) const {
    return std::clamp<int64_t>(t, FStart, std::max(FStart, FLength));
}

void TSelection::SetStream(int64_t lengthMs) {
    FLength = std::max<int64_t>(lengthMs, 0);
    FStart = 0;
    // A stream too long for the ruler's 32 bits ends where the ruler ends
    // (but not before 0).
    FEnd = std::max<int64_t>(RulerMax(), 0);
    const bool hadRemoved = !FRemoved.empty();
    FRemoved.clear();
    emit StreamChanged(FLength);
    if (hadRemoved)
        emit RemovedChanged();
}

void TSelection::SetStart(int64_t t) {
    FStart = BoundStart(t);
    emit StartChanged(FStart);
    emit Edited();
}

void TSelection::SetEnd(int64_t t) {
    FEnd = BoundEnd(t);
    emit EndChanged(FEnd);
    emit Edited();
}

bool TSelection::RemoveSelection() {
    if (FEnd <= FStart)
        return false;
    FRemoved = WithStretch(std::move(FRemoved), {FStart, FEnd});
    FStart = 0;
    FEnd = std::max<int64_t>(RulerMax(), 0);
    emit RemovedChanged();
    emit StartChanged(FStart);
    emit EndChanged(FEnd);
    emit Edited();
    return true;
}

void TSelection::PutBack(std::size_t index) {
    if (index >= FRemoved.size())
        return;
    FRemoved.erase(FRemoved.begin() + static_cast<std::ptrdiff_t>(index));
    emit RemovedChanged();
    emit Edited();
}

void TSelection::SetRemoved(const TRemovedList& list) {
    TRemovedList held;
    for (const TRemoved& r : list)
        held = WithStretch(std::move(held), {std::clamp<int64_t>(r.FromMs, 0, FLength),
                                             std::clamp<int64_t>(r.ToMs, 0, FLength)});
    FRemoved = std::move(held);
    emit RemovedChanged();
    emit Edited();
}

void TSelection::Restore(int64_t start, int64_t end, const TRemovedList& removed) {
    FRemoved = removed;
    FStart = std::clamp<int64_t>(start, 0, std::max<int64_t>(FLength, 0));
    FEnd = std::clamp<int64_t>(end, FStart, std::max(FStart, FLength));
    emit RemovedChanged();
    emit StartChanged(FStart);
    emit EndChanged(FEnd);
}

} // namespace vivizu
