#pragma once
// The level of every granule of a stream estimated without decoding. For
// Layer III from the side information alone: global_gain sets the
// quantiser's step (1.5 dB a unit) and part2_3_length the bits spent on the
// granule's spectrum; a granule with no spectral bits is silent. Layers I
// and II from their scalefactors. The estimate is fast
// enough to show together with the file's properties and places silences and
// loud passages where they are; a decode gives the true levels.
#include "engine/decode/GranuleLevels.h"
#include "engine/decode/LevelMeter.h"
#include "engine/frames/MpegHeader.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vivizu {

// The estimated level in dB of one granule of one channel.
double SideInfoGranuleDb(int globalGain, int part23Length);

// Estimated levels of one frame's granules (the larger of the channels),
// appended to levels: a Layer III frame's from its side information, a Layer
// I or II frame's from its scalefactors (engine/decode/ScalefactorLevels.h);
// a frame too short for them appends zeros for its granules.
void AppendFrameLevels(std::span<const uint8_t> frame, TMpegHeader header, std::vector<float>& levels);

// How many bytes from a frame's start AppendFrameLevels looks at, at most.
size_t FrameLevelsReach();

// dB to the [0, 1] scale of TGranuleLevels, and back to a sample
// magnitude (0 for 0).
float DbToUnitLevel(double db);
float UnitLevelToAmplitude(float level);

// The estimate as level blocks of samplesPerPixel samples (granules hold
// granuleSamples), for the waveform writer: per block the loudest granule it
// touches, as a symmetric min and max in every channel and the mix.
std::vector<TLevelBlock> EstimatedLevelBlocks(const TGranuleLevels& levels, int granuleSamples,
                                              int samplesPerPixel);

} // namespace vivizu
