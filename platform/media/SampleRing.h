#pragma once
// A bounded single-producer, single-consumer queue of samples. The decoding
// thread pushes, the audio callback pops; neither side ever locks or
// allocates.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vivizu {

class TSampleRing {
public:
    // Capacity in samples, rounded up to a power of two.
    explicit TSampleRing(size_t capacity = 0);
    // Resizes and empties the ring; only while neither side runs.
    void Reset(size_t capacity);
    void Clear();
    size_t Capacity() const { return FData.size(); }
    size_t Size() const;  // samples waiting
    size_t Free() const;  // room for samples
    // Producer: copies up to count samples in; returns how many went in.
    size_t Push(const int16_t* data, size_t count);
    // Consumer: copies up to count samples out; returns how many came out.
    size_t Pop(int16_t* out, size_t count);

private:
    std::vector<int16_t> FData;
    size_t FMask = 0;
    std::atomic<uint64_t> FWritten{0}; // total samples pushed
    std::atomic<uint64_t> FRead{0};    // total samples popped
};

} // namespace vivizu
