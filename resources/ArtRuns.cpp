#include "resources/ArtRuns.h"

#include <algorithm>
#include <cstring>

namespace vivizu {

namespace {
constexpr std::uint32_t kRepeat = 0x80000000u;
constexpr std::uint32_t kMaxRun = 0x7FFFFFFFu;
// Shorter stretches of one colour stay in a literal run: a repeat run costs
// two words and breaks the copy.
constexpr std::size_t kMinRepeat = 3;
}  // namespace

std::vector<std::uint32_t> PackRuns(const std::uint32_t* pixels, std::size_t count) {
  std::vector<std::uint32_t> words;
  std::size_t literalStart = 0;  // first pixel not yet written
  auto flushLiterals = [&](std::size_t end) {
    while (literalStart < end) {
      const std::size_t n = std::min<std::size_t>(end - literalStart, kMaxRun);
      words.push_back(static_cast<std::uint32_t>(n));
      words.insert(words.end(), pixels + literalStart, pixels + literalStart + n);
      literalStart += n;
    }
  };
  std::size_t i = 0;
  while (i < count) {
    std::size_t j = i + 1;
    while (j < count && pixels[j] == pixels[i] && j - i < kMaxRun) ++j;
    if (j - i >= kMinRepeat) {
      flushLiterals(i);
      words.push_back(kRepeat | static_cast<std::uint32_t>(j - i));
      words.push_back(pixels[i]);
      literalStart = j;
    }
    i = j;
  }
  flushLiterals(count);
  return words;
}

bool UnpackRuns(const std::uint32_t* words, std::size_t wordCount, std::uint32_t* out,
                std::size_t count) {
  std::size_t w = 0, at = 0;
  while (w < wordCount) {
    const std::uint32_t head = words[w++];
    const std::size_t n = head & kMaxRun;
    if (n > count - at) return false;
    if (head & kRepeat) {
      if (w >= wordCount) return false;
      const std::uint32_t pixel = words[w++];
      const auto byte = static_cast<unsigned char>(pixel);
      if (pixel == byte * 0x01010101u) {
        // White and fully transparent, the commonest runs, in one memset.
        std::memset(out + at, byte, n * sizeof pixel);
      } else {
        std::fill_n(out + at, n, pixel);
      }
    } else {
      if (n > wordCount - w) return false;
      std::copy_n(words + w, n, out + at);
      w += n;
    }
    at += n;
  }
  return at == count;
}

}  // namespace vivizu
