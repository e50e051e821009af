#pragma once
// The side information of a Layer III frame: where its audio data begins in
// the bit reservoir, and for every granule and channel how its spectrum is
// coded (lengths, gain, block type, Huffman tables, scalefactor settings).
// One reader for everything that looks at it: the level estimate, the gain
// transform, the reservoir frame of an exact cut.
#include "engine/frames/MpegHeader.h"

#include <array>
#include <cstdint>
#include <span>

namespace vivizu {

// One granule of one channel, as the side information codes it.
struct TGranuleChannelInfo {
    int Part23Length = 0;     // bits of scalefactors and Huffman code
    int BigValues = 0;        // pairs of lines coded with the big-value tables
    int GlobalGain = 0;       // the quantiser's step, 1.5 dB a unit
    int ScalefacCompress = 0; // 4 bits in MPEG-1, 9 in MPEG-2 and 2.5
    bool WindowSwitching = false;
    int BlockType = 0;        // with window switching: 1 start, 2 short, 3 stop
    bool MixedBlock = false;
    std::array<int, 3> TableSelect{}; // two with window switching, the third 0
    std::array<int, 3> SubblockGain{}; // short windows' gains, window switching only
    int Region0Count = 0;     // without window switching
    int Region1Count = 0;
    bool Preflag = false;     // MPEG-1 only
    bool ScalefacScale = false;
    bool Count1TableSelect = false;
};

struct TSideInfo {
    // How many bytes before the frame's data area its audio data begins; read
    // when the frame holds the first two bytes of its side information.
    int MainDataBegin = 0;
    int PrivateBits = 0;
    std::array<int, 2> Scfsi{}; // MPEG-1: four bits per channel
    // Whether the frame holds all of its side information; when not, only
    // MainDataBegin is read and the rest is zero.
    bool Complete = false;
    // [granule][channel]; a frame has header.Granules() and
    // header.Channels() of them.
    std::array<std::array<TGranuleChannelInfo, 2>, 2> Granule{};
};

// Reads the side information of a frame as Layer III (the caller checks the
// layer); frame starts with the header and may end early.
TSideInfo ReadSideInfo(std::span<const uint8_t> frame, TMpegHeader header);

// Bit offset of the global_gain of a granule and channel from the start of
// the side information of a Layer III frame with this header.
int GlobalGainBit(TMpegHeader header, int granule, int channel);

// Sets the global_gain of a granule and channel (0...255) of a frame that
// holds all of its side information; nothing else changes.
void WriteGlobalGain(std::span<uint8_t> frame, TMpegHeader header, int granule, int channel, int value);

} // namespace vivizu
