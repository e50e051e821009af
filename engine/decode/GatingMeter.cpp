#include "engine/decode/GatingMeter.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2_MATH__) || defined(__x86_64__)
#include <xmmintrin.h>
#define VIVIZU_SSE_FTZ 1
#endif

namespace vivizu {

namespace {

// The absolute gate, -70 LUFS, as an energy; the relative gates of the
// integrated loudness (-10 LU) and of the loudness range (-20 LU) as factors.
// Each written as libebur128 computes it.
double AbsoluteGate() { return std::pow(10.0, (-70.0 + 0.691) / 10.0); }
double RelativeGateFactor() { return std::pow(10.0, -10.0 / 10.0); }
double MinusTwentyDecibels() { return std::pow(10.0, -20.0 / 10.0); }

double EnergyToLoudness(double energy) { return 10 * (std::log(energy) / std::log(10.0)) - 0.691; }

// Flush-to-zero while the filter runs, as libebur128 sets it: denormal
// results of the recursion become zero, which changes the figures of
// quiet passages (and keeps the filter fast).
class TFlushToZero {
public:
#ifdef VIVIZU_SSE_FTZ
    TFlushToZero() : FSaved(_mm_getcsr()) { _mm_setcsr(FSaved | _MM_FLUSH_ZERO_ON); }
    ~TFlushToZero() { _mm_setcsr(FSaved); }

private:
    unsigned FSaved;
#endif
};

} // namespace

TGatingMeter::TGatingMeter(int channels, int sampleRate)
    : FChannels(static_cast<size_t>(std::max(channels, 1))),
      FSamplesIn100ms((static_cast<size_t>(sampleRate) + 5) / 10),
      FState(FChannels),
      FWeights(FChannels, 1.0),
      FNeededFrames(FSamplesIn100ms * 4)
{
    // libebur128's default map: left, right, centre, surround left and
    // right (weighted by 1.41), the fourth of six or more unused; with four
    // channels, left, right and the two surrounds.
    if (FChannels == 4) {
        FWeights[2] = FWeights[3] = 1.41;
    } else if (FChannels == 5) {
        FWeights[3] = FWeights[4] = 1.41;
    } else {
        for (size_t c = 3; c < FChannels; ++c)
            FWeights[c] = c == 4 || c == 5 ? 1.41 : 0.0;
    }

    // A ring of 3 s of filtered samples, a whole number of 100 ms steps.
    FBufferFrames = static_cast<size_t>(sampleRate) * 3000 / 1000;
    if (FBufferFrames % FSamplesIn100ms)
        FBufferFrames = (FBufferFrames + FSamplesIn100ms) - (FBufferFrames % FSamplesIn100ms);
    FBuffer.assign(FBufferFrames * FChannels, 0.0);

    // The K-weighting filter: a high shelf and a high pass, multiplied out
    // into one filter of fourth order.
    const double rate = static_cast<double>(sampleRate);
    double f0 = 1681.974450955533;
    const double G = 3.999843853973347;
    double Q = 0.7071752369554196;
    double K = std::tan(M_PI * f0 / rate);
    const double Vh = std::pow(10.0, G / 20.0);
    const double Vb = std::pow(Vh, 0.4996667741545416);
    double pb[3] = {0.0, 0.0, 0.0};
    double pa[3] = {1.0, 0.0, 0.0};
    const double rb[3] = {1.0, -2.0, 1.0};
    double ra[3] = {1.0, 0.0, 0.0};
    const double a0 = 1.0 + K / Q + K * K;
    pb[0] = (Vh + Vb * K / Q + K * K) / a0;
    pb[1] = 2.0 * (K * K - Vh) / a0;
    pb[2] = (Vh - Vb * K / Q + K * K) / a0;
    pa[1] = 2.0 * (K * K - 1.0) / a0;
    pa[2] = (1.0 - K / Q + K * K) / a0;
    f0 = 38.13547087602444;
    Q = 0.5003270373238773;
    K = std::tan(M_PI * f0 / rate);
    ra[1] = 2.0 * (K * K - 1.0) / (1.0 + K / Q + K * K);
    ra[2] = (1.0 - K / Q + K * K) / (1.0 + K / Q + K * K);
    FB[0] = pb[0] * rb[0];
    FB[1] = pb[0] * rb[1] + pb[1] * rb[0];
    FB[2] = pb[0] * rb[2] + pb[1] * rb[1] + pb[2] * rb[0];
    FB[3] = pb[1] * rb[2] + pb[2] * rb[1];
    FB[4] = pb[2] * rb[2];
    FA[0] = pa[0] * ra[0];
    FA[1] = pa[0] * ra[1] + pa[1] * ra[0];
    FA[2] = pa[0] * ra[2] + pa[1] * ra[1] + pa[2] * ra[0];
    FA[3] = pa[1] * ra[2] + pa[2] * ra[1];
    FA[4] = pa[2] * ra[2];
}

void TGatingMeter::Filter(const float* src, size_t frames)
{
    const TFlushToZero ftz;
    double* out = FBuffer.data() + FBufferIndex;
    for (size_t c = 0; c < FChannels; ++c) {
        if (FWeights[c] == 0.0)
            continue;
        std::array<double, 5>& v = FState[c];
        for (size_t i = 0; i < frames; ++i) {
            v[0] = static_cast<double>(src[i * FChannels + c]) - FA[1] * v[1] - FA[2] * v[2] - FA[3] * v[3]
                   - FA[4] * v[4];
            out[i * FChannels + c] = FB[0] * v[0] + FB[1] * v[1] + FB[2] * v[2] + FB[3] * v[3] + FB[4] * v[4];
            v[4] = v[3];
            v[3] = v[2];
            v[2] = v[1];
            v[1] = v[0];
        }
    }
}

double TGatingMeter::BlockEnergy(size_t framesPerBlock) const
{
    const size_t at = FBufferIndex / FChannels;
    double sum = 0.0;
    for (size_t c = 0; c < FChannels; ++c) {
        if (FWeights[c] == 0.0)
            continue;
        double channelSum = 0.0;
        const auto add = [&](size_t from, size_t to) {
            for (size_t i = from; i < to; ++i)
                channelSum += FBuffer[i * FChannels + c] * FBuffer[i * FChannels + c];
        };
        // The ring is summed from its start, as libebur128 does, when the
        // block wraps around its end.
        if (at < framesPerBlock) {
            add(0, at);
            add(FBufferFrames - (framesPerBlock - at), FBufferFrames);
        } else {
            add(at - framesPerBlock, at);
        }
        if (FWeights[c] != 1.0)
            channelSum *= FWeights[c];
        sum += channelSum;
    }
    return sum / static_cast<double>(framesPerBlock);
}

void TGatingMeter::Add(std::span<const float> interleaved)
{
    const float* src = interleaved.data();
    size_t frames = interleaved.size() / FChannels;
    const double gate = AbsoluteGate();
    while (frames > 0) {
        if (frames < FNeededFrames) {
            Filter(src, frames);
            FBufferIndex += frames * FChannels;
            FShortTermCounter += frames;
            FNeededFrames -= frames;
            return;
        }
        Filter(src, FNeededFrames);
        src += FNeededFrames * FChannels;
        frames -= FNeededFrames;
        FBufferIndex += FNeededFrames * FChannels;
        // A momentary block ends every 100 ms once 400 ms have passed.
        if (const double energy = BlockEnergy(FSamplesIn100ms * 4); energy >= gate)
            FBlocks.push_back(energy);
        // A short-term block every second once 3 s have passed.
        FShortTermCounter += FNeededFrames;
        if (FShortTermCounter == FSamplesIn100ms * 30) {
            if (const double energy = BlockEnergy(FSamplesIn100ms * 30); energy >= gate)
                FShortTerm.push_back(energy);
            FShortTermCounter = FSamplesIn100ms * 20;
        }
        FNeededFrames = FSamplesIn100ms;
        if (FBufferIndex == FBufferFrames * FChannels)
            FBufferIndex = 0;
    }
}

double IntegratedLoudness(std::span<const TGatingMeter* const> meters)
{
    double threshold = 0.0;
    size_t above = 0;
    for (const TGatingMeter* m : meters)
        for (const double z : m->Blocks()) {
            ++above;
            threshold += z;
        }
    if (above == 0)
        return -HUGE_VAL;
    threshold /= static_cast<double>(above);
    threshold *= RelativeGateFactor();

    double gated = 0.0;
    above = 0;
    for (const TGatingMeter* m : meters)
        for (const double z : m->Blocks())
            if (z >= threshold) {
                ++above;
                gated += z;
            }
    if (above == 0)
        return -HUGE_VAL;
    gated /= static_cast<double>(above);
    return EnergyToLoudness(gated);
}

double LoudnessRange(std::span<const TGatingMeter* const> meters)
{
    std::vector<double> blocks;
    size_t size = 0;
    for (const TGatingMeter* m : meters)
        size += m->ShortTermBlocks().size();
    if (size == 0)
        return 0.0;
    blocks.reserve(size);
    for (const TGatingMeter* m : meters)
        blocks.insert(blocks.end(), m->ShortTermBlocks().begin(), m->ShortTermBlocks().end());
    std::sort(blocks.begin(), blocks.end());
    double power = 0.0;
    for (const double z : blocks)
        power += z;
    power /= static_cast<double>(size);
    const double integrated = MinusTwentyDecibels() * power;

    // The blocks below the relative gate are the first of the sorted ones.
    const auto gated = std::span<const double>(blocks).subspan(
        static_cast<size_t>(std::lower_bound(blocks.begin(), blocks.end(), integrated) - blocks.begin()));
    if (gated.empty())
        return 0.0;
    const double high = gated[static_cast<size_t>(static_cast<double>(gated.size() - 1) * 0.95 + 0.5)];
    const double low = gated[static_cast<size_t>(static_cast<double>(gated.size() - 1) * 0.1 + 0.5)];
    return EnergyToLoudness(high) - EnergyToLoudness(low);
}

} // namespace vivizu
