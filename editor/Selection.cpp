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
    emit StreamChanged(FLength);
}

void TSelection::SetStart(int64_t t) {
    FStart = BoundStart(t);
    emit StartChanged(FStart);
}

void TSelection::SetEnd(int64_t t) {
    FEnd = BoundEnd(t);
    emit EndChanged(FEnd);
}

} // namespace vivizu
