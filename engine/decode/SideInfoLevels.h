#pragma once
// The level of every granule of a stream estimated without decoding. For
// Layer III from the side information alone: global_gain sets the
// quantiser's step, the Huffman tables chosen for the spectrum bound its
// largest quantised value, and a granule with no spectral bits is silent.
// Layers I and II from their scalefactors. The estimate is fast enough to
// show together with the file's properties and places silences and loud
// passages where they are, within a few dB of the decoded peaks; a decode
// gives the true levels.
#include "engine/decode/GranuleLevels.h"
#include "engine/decode/LevelMeter.h"
#include "engine/decode/SampleTrim.h"
#include "engine/frames/MpegHeader.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vivizu {

// What the estimate reads of one granule of one channel's side information.
struct TGranuleSideInfo {
    int Part23Length = 0;
    int GlobalGain = 0;
    int ScalefacCompress = 0;  // MPEG-1's 4 bits; 0 for MPEG-2 and 2.5
    bool ShortBlocks = false;  // block_type 2
    int SubblockGain = 0;      // the smallest of the three windows' (short blocks)
    int LargestTable = 0;      // the table_select that allows the largest values
    bool ScalefacScale = false;
};

// The estimated peak level in dB (0 is full scale) of one granule of one
// channel; -infinity for a granule without spectral bits. midSide: the
// channels are coded as middle and side.
double SideInfoGranuleDb(const TGranuleSideInfo& granule, bool mpeg1, bool midSide);

// Estimated levels of one frame's granules (the larger of the channels),
// appended to levels: a Layer III frame's from its side information, a Layer
// I or II frame's from its scalefactors (engine/decode/ScalefactorLevels.h);
// a frame too short for them appends zeros for its granules.
void AppendFrameLevels(std::span<const uint8_t> frame, TMpegHeader header, TUnitLevels& levels);

// How many bytes from a frame's start AppendFrameLevels looks at, at most.
size_t FrameLevelsReach();

// dB to the [0, 1] scale of TGranuleLevels, and back to a sample
// magnitude (0 for 0).
float DbToUnitLevel(double db);
float UnitLevelToAmplitude(float level);

// The estimate as level blocks of samplesPerPixel samples (granules hold
// granuleSamples), for the waveform writer: per block the loudest granule it
// touches, as a symmetric min and max in every channel and the mix; of the
// samples trim keeps, as the decoded waveform measures them.
std::vector<TLevelBlock> EstimatedLevelBlocks(const TGranuleLevels& levels, int granuleSamples,
                                              int samplesPerPixel, TSampleTrim trim = {});

} // namespace vivizu
