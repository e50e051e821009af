#include "platform/media/SampleRing.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vivizu {

TSampleRing::TSampleRing(size_t capacity)
{
    Reset(capacity);
}

void TSampleRing::Reset(size_t capacity)
{
    const size_t size = capacity == 0 ? 0 : std::bit_ceil(capacity);
    FData.assign(size, 0);
    FMask = size == 0 ? 0 : size - 1;
    Clear();
}

void TSampleRing::Clear()
{
    FWritten.store(0, std::memory_order_relaxed);
    FRead.store(0, std::memory_order_relaxed);
}

size_t TSampleRing::Size() const
{
    return static_cast<size_t>(FWritten.load(std::memory_order_acquire) -
                               FRead.load(std::memory_order_acquire));
}

size_t TSampleRing::Free() const
{
    return FData.size() - Size();
}

size_t TSampleRing::Push(const int16_t* data, size_t count)
{
    const uint64_t written = FWritten.load(std::memory_order_relaxed);
    const uint64_t read = FRead.load(std::memory_order_acquire);
    count = std::min(count, FData.size() - static_cast<size_t>(written - read));
    if (count == 0)
        return 0;
    const size_t at = static_cast<size_t>(written) & FMask;
    const size_t first = std::min(count, FData.size() - at);
    std::memcpy(FData.data() + at, data, first * sizeof(int16_t));
    std::memcpy(FData.data(), data + first, (count - first) * sizeof(int16_t));
    FWritten.store(written + count, std::memory_order_release);
    return count;
}

size_t TSampleRing::Pop(int16_t* out, size_t count)
{
    const uint64_t read = FRead.load(std::memory_order_relaxed);
    const uint64_t written = FWritten.load(std::memory_order_acquire);
    count = std::min(count, static_cast<size_t>(written - read));
    if (count == 0)
        return 0;
    const size_t at = static_cast<size_t>(read) & FMask;
    const size_t first = std::min(count, FData.size() - at);
    std::memcpy(out, FData.data() + at, first * sizeof(int16_t));
    std::memcpy(out + first, FData.data(), (count - first) * sizeof(int16_t));
    FRead.store(read + count, std::memory_order_release);
    return count;
}

} // namespace vivizu
