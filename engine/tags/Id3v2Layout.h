#pragma once
// Taking an ID3v2.3 or 2.4 tag apart frame by frame and putting it together
// again in its plainest form, before TagLib reads it. TagLib mis-reads some
// tags that are valid or common: it steps over a 2.3 extended header by the
// wrong size, cuts a 2.4 extended header's length off the end of the frames,
// leaves a frame's group byte in its contents, and guesses plain-integer
// frame sizes of 2.4 tags frame by frame. Here the whole tag decides: its
// frames are walked with the sizes that lead from frame to frame.
#include <cstdint>
#include <span>
#include <vector>

namespace vivizu {

// tagBytes (the whole tag, 10-byte header first) with the same frames and
// contents: no extended header, no footer, a 2.3 tag without
// unsynchronisation, no group bytes, 2.4 frame sizes as syncsafe integers.
// Encrypted frames and frames of no length are left out (neither can be
// kept as they were). Other versions, and bytes that hold no tag, come back
// unchanged.
std::vector<uint8_t> PlainId3v2Tag(std::span<const uint8_t> tagBytes);

} // namespace vivizu
