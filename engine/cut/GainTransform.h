#pragma once
// Lossless volume change of Layer III frames: every granule and channel
// carries a `global_gain` byte in the side information that scales the whole
// granule in steps of 1.5 dB. Changing it changes nothing else; the main data
// and the bit reservoir stay as they are.
#include "engine/CutResult.h"
#include "engine/cut/CutWriter.h"
#include "engine/cut/GainPlan.h"
#include "engine/frames/FrameCrc.h"
#include "engine/frames/MpegHeader.h"
#include <cstdint>
#include <span>

namespace vivizu {

// What a gain transform did, for the report to the user.
struct TGainReport {
    int64_t Granules = 0; // granule-and-channel fields changed
    // Of them, fields whose step went past 255 (0) and were held there,
    // never wrapped around; silent granules are not counted.
    int64_t ClampedHigh = 0;
    int64_t ClampedLow = 0;
};

// The global_gain of granule gr, channel ch of a Layer III frame (header
// included in frame); -1 when the frame is too short to hold it.
int GlobalGain(std::span<const uint8_t> frame, TMpegHeader header, int granule, int channel);

// Adds steps[gr] to every channel's global_gain of granule gr (steps holds
// header.Granules() values; TGainPlan::Silent sets the field to 0), held
// within 0...255, and renews the CRC when the frame has one. A field of 0
// (a silent granule) stays 0 and is not counted. A frame that is
// not Layer III, or too short for its side information, is left alone and
// false returned.
bool ApplyGain(std::span<uint8_t> frame, TMpegHeader header, std::span<const int> steps, TGainReport& report);

// The outcome of a write done with steps of constant gain, as report
// counted it: what the user is told of the gain.
TCutResult GainOutcome(int steps, const TGainReport& report);

// The writer's transform for a gain plan: granules are counted across the
// frames it is given, from the cut's first frame. report must outlive it.
TFrameTransform MakeGainTransform(const TGainPlan& plan, TGainReport& report);

} // namespace vivizu
