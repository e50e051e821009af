#pragma once
// Runs of 32-bit pixels: the packed form of the window's pictures.
//
// A packed picture is a sequence of runs. A word with the top bit set is a
// repeat run: its low 31 bits count the pixels, and the next word is the
// pixel repeated. Any other word is a literal run: it counts the pixels,
// which follow it word by word. The pictures are mostly flat colour, so the
// runs are short to store and unpacking them is a fill or a copy per run.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vivizu {

// Folds count pixels into runs.
std::vector<std::uint32_t> PackRuns(const std::uint32_t* pixels, std::size_t count);

// Unfolds the runs in words into exactly count pixels. False (out left in
// an unspecified state) when the runs do not make exactly count pixels.
bool UnpackRuns(const std::uint32_t* words, std::size_t wordCount, std::uint32_t* out,
                std::size_t count);

}  // namespace vivizu
