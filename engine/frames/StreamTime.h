#pragma once
// Play time counted exactly. Frame durations at 44.1 kHz and its relatives
// are no whole number of milliseconds, and their sum in floating point drifts
// (49 frames of 26.12 ms add up to 1279.999... ms instead of 1280), so that a
// time equal to a frame's start would seem to fall inside the frame before.
// A TStreamTime is a whole number of ticks of 1/14,112,000 s: the least common
// multiple of every MPEG sample rate (8000 to 48000 Hz) per second, so that
// every frame of every rate, and every whole millisecond, is a whole number
// of ticks and sums and comparisons are exact.
#include <compare>
#include <cstdint>

namespace vivizu {

struct TStreamTime {
    static constexpr int64_t TicksPerSecond = 14112000;
    static constexpr int64_t TicksPerMs = TicksPerSecond / 1000;

    int64_t Ticks = 0;

    // ms whole milliseconds (|ms| up to about 6.5e11 s fits).
    static constexpr TStreamTime FromMs(int64_t ms) { return {ms * TicksPerMs}; }
    // samples at sampleRate Hz; the rate must be one of the MPEG rates (or a
    // divisor of TicksPerSecond) for the result to be exact.
    static constexpr TStreamTime FromSamples(int64_t samples, int64_t sampleRate)
    {
        return {samples * (TicksPerSecond / sampleRate)};
    }

    // Whole milliseconds, rounded down (toward minus infinity).
    constexpr int64_t WholeMs() const
    {
        return Ticks >= 0 ? Ticks / TicksPerMs : -((-Ticks + TicksPerMs - 1) / TicksPerMs);
    }
    // Milliseconds with their fraction, for display and for callers that
    // compute with doubles.
    constexpr double Ms() const { return static_cast<double>(Ticks) / TicksPerMs; }

    constexpr TStreamTime& operator+=(TStreamTime other)
    {
        Ticks += other.Ticks;
        return *this;
    }
    friend constexpr TStreamTime operator+(TStreamTime a, TStreamTime b) { return {a.Ticks + b.Ticks}; }
    friend constexpr TStreamTime operator-(TStreamTime a, TStreamTime b) { return {a.Ticks - b.Ticks}; }
    friend constexpr auto operator<=>(TStreamTime a, TStreamTime b) = default;
};

} // namespace vivizu
