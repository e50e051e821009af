#include "engine/decode/Loudness.h"

#include "engine/decode/LevelMeter.h"
#include "engine/decode/ParallelDecode.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <thread>

namespace vivizu {

namespace {

struct TMeterDeleter {
    void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
};
using TMeter = std::unique_ptr<ebur128_state, TMeterDeleter>;

class TMeterConsumer : public TChunkConsumer {
public:
    explicit TMeterConsumer(ebur128_state* meter) : FMeter(meter) {}
    void Samples(std::span<const float> pcm) override
    {
        if (FMeter != nullptr)
            ebur128_add_frames_float(FMeter, pcm.data(), pcm.size() / FMeter->channels);
    }

private:
    ebur128_state* FMeter;
};

// Chunks of at least this many frames (about 25 s at 44.1 kHz), so that the
// meters' lost blocks at chunk boundaries stay few.
constexpr size_t MinChunkFrames = 1024;

} // namespace

TLoudnessResult MeasureLoudness(const std::string& fileName, const TDecodeRange& range,
                                const TDecodeOptions& options)
{
    TLoudnessResult out;
    const unsigned threads = options.Threads > 0 ? options.Threads : std::max(1u, std::thread::hardware_concurrency());
    TDecodeOptions chunked = options;
    const size_t frames = range.Last > range.First ? range.Last - range.First : 0;
    if (chunked.ChunkFrames == 0)
        chunked.ChunkFrames = (frames + threads - 1) / threads;
    chunked.ChunkFrames = std::max(MinChunkFrames, chunked.ChunkFrames);
    std::mutex mutex;
    std::vector<TMeter> meters;
    const auto factory = [&](size_t chunk, const TPcmFormat& format) -> std::unique_ptr<TChunkConsumer> {
        ebur128_state* meter = ebur128_init(static_cast<unsigned>(format.Channels),
                                            static_cast<unsigned long>(format.SampleRate),
                                            EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_TRUE_PEAK
                                                | EBUR128_MODE_SAMPLE_PEAK);
        std::lock_guard lock(mutex);
        if (meters.size() <= chunk)
            meters.resize(chunk + 1);
        meters[chunk].reset(meter);
        return std::make_unique<TMeterConsumer>(meter);
    };
    out.Result = DecodeChunks(fileName, range, chunked, 0, factory);
    if (out.Result.Status != TDecodeStatus::Done)
        return out;

    std::vector<ebur128_state*> states;
    for (const TMeter& m : meters)
        if (m)
            states.push_back(m.get());
    if (states.empty()) {
        out.Result.Status = TDecodeStatus::DecodeError;
        out.Result.Message = "libebur128 could not be set up";
        return out;
    }
    TLoudness& l = out.Loudness;
    double integrated = -HUGE_VAL, range_ = 0.0;
    ebur128_loudness_global_multiple(states.data(), states.size(), &integrated);
    ebur128_loudness_range_multiple(states.data(), states.size(), &range_);
    double truePeak = 0.0, samplePeak = 0.0;
    for (ebur128_state* s : states) {
        for (unsigned c = 0; c < s->channels; ++c) {
            double v = 0.0;
            if (ebur128_true_peak(s, c, &v) == EBUR128_SUCCESS)
                truePeak = std::max(truePeak, v);
            if (ebur128_sample_peak(s, c, &v) == EBUR128_SUCCESS)
                samplePeak = std::max(samplePeak, v);
        }
    }
    l.IntegratedLufs = integrated;
    l.RangeLu = range_;
    l.TruePeakDbtp = LevelToDb(truePeak);
    l.SamplePeakDbfs = LevelToDb(samplePeak);
    l.TrackGainDb = std::isfinite(integrated) ? ReplayGainReferenceLufs - integrated : 0.0;
    return out;
}

} // namespace vivizu
