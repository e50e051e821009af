#pragma once
// The one gain range of every front end, the window's volume dialog and the
// companion's --gain alike.

namespace vivizu {

// The most gain offered either way, in dB: 40 steps of 1.5 dB. Enough to
// bring a recording at -70 LUFS, the quietest loudness target, up to a loud
// master, while a slip of the keyboard (300 for 3.00) is refused instead of
// pushing every granule to the loudest setting. A loudness target adds its
// own steps on top.
inline constexpr double MaxGainDb = 60.0;

} // namespace vivizu
