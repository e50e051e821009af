#pragma once
// The background work of the overview, so that opening a file never waits
// for it: the whole stream decoded on every core into one level per
// granule, handed over when done. (The estimate the window shows until then
// comes with the file's analysis.) Starting another job or Cancel() stops
// the one running and drops its results; the window never waits for it. A
// failed decode hands nothing over, so the estimate stays; it reports
// Failed instead.
#include "editor/BackgroundRuns.h"
#include "engine/decode/GranuleLevels.h"
#include "engine/frames/FrameIndex.h"

#include <QObject>
#include <cstdint>
#include <string>

namespace vivizu {

class TOverviewJob : public QObject {
    Q_OBJECT

public:
    explicit TOverviewJob(QObject* parent = nullptr);

    // Decodes the frames of index (a copy of the analysed file's) of
    // fileName in blocks of granuleSamples samples at sampleRate.
    void Start(const std::string& fileName, TFrameIndex index, int sampleRate, int granuleSamples);
    void Cancel() { FRuns.Cancel(); }
    bool Running() const { return FRuns.Running(); }

signals:
    void Finished(const vivizu::TGranuleLevels& levels);
    void Failed();

private:
    void Deliver(uint64_t generation, const TGranuleLevels& levels);
    void Fail(uint64_t generation);

    TBackgroundRuns FRuns;
};

} // namespace vivizu

Q_DECLARE_METATYPE(vivizu::TGranuleLevels)
