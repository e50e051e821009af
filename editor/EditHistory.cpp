#include "editor/EditHistory.h"

#include <algorithm>

namespace vivizu {

bool TEditState::operator==(const TEditState& other) const {
    return Start == other.Start && End == other.End && SameStretches(Removed, other.Removed);
}

TEditHistory::TEditHistory(std::size_t depth) : FDepth(std::max<std::size_t>(depth, 1)) {}

void TEditHistory::Reset(const TEditState& state) {
    FStates.assign(1, state);
    FKinds.assign(1, TEditKind::Other);
    FAt = 0;
    FOpen = false;
}

bool TEditHistory::Record(const TEditState& state, TEditKind kind) {
    if (state == Current())
        return false;
    const bool merge = FOpen && kind != TEditKind::Other && FKinds[FAt] == kind && FAt > 0;
    // Steps undone before this edit can no longer be redone.
    FStates.resize(FAt + 1);
    FKinds.resize(FAt + 1);
    if (merge) {
        FStates[FAt] = state;
        return true;
    }
    FStates.push_back(state);
    FKinds.push_back(kind);
    if (FStates.size() > FDepth + 1) {
        FStates.erase(FStates.begin());
        FKinds.erase(FKinds.begin());
    }
    FAt = FStates.size() - 1;
    FOpen = kind != TEditKind::Other;
    return true;
}

const TEditState& TEditHistory::Undo() {
    FOpen = false;
    if (CanUndo())
        --FAt;
    return Current();
}

const TEditState& TEditHistory::Redo() {
    FOpen = false;
    if (CanRedo())
        ++FAt;
    return Current();
}

} // namespace vivizu
