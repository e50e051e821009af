#pragma once
// The undo history of the window's edits: every state of the selection's
// ends and the removed stretches, from the opening of the file on. A step
// back (Undo) and forward (Redo) give the state to show. Moves of one end
// that follow each other while a gesture is open (the samples of one drag,
// the digits typed into one field) make one step; the gesture ends with
// Close(). Plain C++: the window feeds it and shows what it gives.
#include "editor/RemovedStretches.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vivizu {

struct TEditState {
    int64_t Start = 0;
    int64_t End = 0;
    TRemovedList Removed;

    bool operator==(const TEditState& other) const;
};

// What a step changed; only moves of one end merge with each other.
enum class TEditKind { StartMove, EndMove, Other };

class TEditHistory {
public:
    // At most depth steps are kept; the oldest go first.
    explicit TEditHistory(std::size_t depth = 1000);

    // A new history whose only state is state (a file was opened).
    void Reset(const TEditState& state);
    const TEditState& Current() const { return FStates[FAt]; }

    // state becomes the current one. It replaces the current state instead
    // of adding a step when the last step was a move of the same end and
    // its gesture is still open. Steps that were undone are dropped. False,
    // and nothing recorded, when state is the current one already.
    bool Record(const TEditState& state, TEditKind kind);
    // The open gesture ends: the next move is a step of its own.
    void Close() { FOpen = false; }

    bool CanUndo() const { return FAt > 0; }
    bool CanRedo() const { return FAt + 1 < FStates.size(); }
    // One step back or forward; the state to show. Unchanged (and the
    // current state) when there is no step to take.
    const TEditState& Undo();
    const TEditState& Redo();
    std::size_t Steps() const { return FStates.size() - 1; }

private:
    std::size_t FDepth;
    std::vector<TEditState> FStates{TEditState{}};
    std::vector<TEditKind> FKinds{TEditKind::Other}; // what led to each state
    std::size_t FAt = 0;
    bool FOpen = false;
};

} // namespace vivizu
