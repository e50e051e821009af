#pragma once
// The selection of the editor window: the start and end of the stretch a
// preview starts from and a save writes, and the length of the stream they
// lie in, all in milliseconds. The time fields, the markers and the position
// bar are views of it: they show what it says and send it what the user
// did; none of them keeps a value of its own. It also holds the stretches
// removed from the stream, which a save leaves out of the selection.
#include "editor/RemovedStretches.h"

#include <QObject>
#include <cstdint>

namespace vivizu {

class TSelection : public QObject {
    Q_OBJECT

public:
    explicit TSelection(QObject* parent = nullptr);

    // 0 <= Start() <= End() <= LengthMs() for every value set through
    // SetStart and SetEnd.
    int64_t Start() const { return FStart; }
    int64_t End() const { return FEnd; }
    // The stream's play length, 0 with no stream.
    int64_t LengthMs() const { return FLength; }
    // The length as a 32-bit ruler holds it (its low 32 bits): the position
    // bar's maximum, the time a marker at its full-length place stands for
    // and the end of a preview.
    int32_t RulerMax() const;

    // The time a typed start or end becomes: t held within its bounds
    // (0 .. End for the start, Start .. length for the end).
    int64_t BoundStart(int64_t t) const;
    int64_t BoundEnd(int64_t t) const;

    // A new stream (length 0: none): the selection becomes all of it, from 0
    // to RulerMax(). Emits StreamChanged.
    void SetStream(int64_t lengthMs);
    // The user moved an end of the selection; the time is held within its
    // bounds. Emits StartChanged or EndChanged on every call, also when the
    // time stays, so that every view follows what the user just did.
    void SetStart(int64_t t);
    void SetEnd(int64_t t);

    // The removed stretches (RemovedStretches.h); none with a new stream.
    const TRemovedList& Removed() const { return FRemoved; }
    // The selection becomes a removed stretch and then spans the whole
    // stream again. False, and nothing changed, for an empty selection.
    bool RemoveSelection();
    // The removed stretch index is put back.
    void PutBack(std::size_t index);
    // The removed stretches become list, merged where they overlap and held
    // within the stream (an edit list read from a file).
    void SetRemoved(const TRemovedList& list);
    // Start, end and stretches as an undo or redo gives them, held within
    // their bounds. Emits the changed signals but not Edited: it is no edit
    // of the user's.
    void Restore(int64_t start, int64_t end, const TRemovedList& removed);

signals:
    void StreamChanged(qint64 lengthMs);
    void StartChanged(qint64 start);
    void EndChanged(qint64 end);
    void RemovedChanged();
    // The user's edit has been made: an end set, a stretch removed or put
    // back, a list read. Sent once per edit, after the changed signals.
    void Edited();

private:
    TRemovedList FRemoved;
    int64_t FStart = 0;
    int64_t FEnd = 0;
    int64_t FLength = 0;
};

} // namespace vivizu
