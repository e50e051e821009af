#pragma once
// A stream's levels on an even grid of granules, as the overview shows them.
#include <vector>

namespace vivizu {

// Levels on an even grid of granules, each in [0, 1]: 0 is silence or
// anything below LevelFloorDb, 1 is full scale.
struct TGranuleLevels {
    double MsPerGranule = 0.0;
    std::vector<float> Levels;

    bool Empty() const { return Levels.empty(); }
    double DurationMs() const { return MsPerGranule * static_cast<double>(Levels.size()); }
};

inline constexpr double LevelFloorDb = -120.0;

} // namespace vivizu
