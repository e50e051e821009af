#include "operations/Job.h"

#include <utility>

namespace vivizu {

TJob CutJob(TRoruvoMP3& mp3, int32_t start, int32_t end, TCutChoices choices, std::string output)
{
    TJob job;
    job.Kind = TJobKind::Cut;
    job.Sources.push_back({&mp3, start, end, std::exchange(choices.Removed, {})});
    job.Choices = std::move(choices);
    job.Output = std::move(output);
    return job;
}

TJob SplitJob(TRoruvoMP3& mp3, std::vector<TSplitPiece> pieces, TCutChoices choices)
{
    TJob job;
    job.Kind = TJobKind::Split;
    job.Sources.push_back({&mp3, 0, INT32_MAX, std::exchange(choices.Removed, {})});
    job.Choices = std::move(choices);
    job.Pieces = std::move(pieces);
    return job;
}

} // namespace vivizu
