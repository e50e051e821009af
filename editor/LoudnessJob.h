#pragma once
// The background measurement of a selection's loudness for the volume
// dialog: decoded on every core away from the window's thread, the result
// handed over when done. Starting another measurement or Cancel() stops the
// one running and drops its result; the window never waits for it.
#include "editor/BackgroundRuns.h"
#include "engine/decode/SelectionLoudness.h"

#include <QObject>
#include <cstdint>

namespace vivizu {

class TLoudnessJob : public QObject {
    Q_OBJECT

public:
    explicit TLoudnessJob(QObject* parent = nullptr);

    void Start(TSelectionFrames frames);
    void Cancel() { FRuns.Cancel(); }
    bool Running() const { return FRuns.Running(); }

signals:
    // Every outcome of the latest measurement but its cancellation.
    void Finished(const vivizu::TLoudnessResult& result);

private:
    void Deliver(uint64_t generation, const TLoudnessResult& result);

    TBackgroundRuns FRuns;
};

} // namespace vivizu

Q_DECLARE_METATYPE(vivizu::TLoudnessResult)
