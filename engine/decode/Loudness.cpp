#include "engine/decode/Loudness.h"

#include "engine/decode/LevelMeter.h"
#include "engine/decode/ParallelDecode.h"
#include "engine/decode/TruePeak.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace vivizu {

namespace {

struct TMeterDeleter {
    void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
};
using TMeter = std::unique_ptr<ebur128_state, TMeterDeleter>;

// One chunk's meters: libebur128's for loudness and range, and a faster one
// of libebur128's filter for the true peak (and the sample peak).
// libebur128 counts the gating blocks in histograms (bins of 0.1 LU from -70
// to +30 LUFS, as ffmpeg's ebur128 filter does) instead of keeping a list
// node per block: a meter's memory stays the same however long the range,
// and the chunks' histograms add up exactly, in any order.
struct TChunkMeters {
    TMeter Loudness;
    std::unique_ptr<TTruePeakMeter> TruePeak;
};

class TMeterConsumer : public TChunkConsumer {
public:
    // at: where the chunk's samples begin among the range's (per channel);
    // only those that trim keeps are measured.
    TMeterConsumer(TChunkMeters& meters, size_t channels, int64_t at, TSampleTrim trim)
        : FMeters(meters), FChannels(channels), FAt(at), FTrim(trim)
    {
    }
    void Samples(std::span<const float> pcm) override
    {
        const auto count = static_cast<int64_t>(pcm.size() / FChannels);
        const int64_t from = std::clamp<int64_t>(FTrim.Skip - FAt, 0, count);
        const int64_t to = FTrim.Keep < 0 ? count : std::clamp<int64_t>(FTrim.Skip + FTrim.Keep - FAt, from, count);
        FAt += count;
        pcm = pcm.subspan(static_cast<size_t>(from) * FChannels, static_cast<size_t>(to - from) * FChannels);
        if (pcm.empty())
            return;
        if (FMeters.Loudness)
            ebur128_add_frames_float(FMeters.Loudness.get(), pcm.data(), pcm.size() / FChannels);
        FMeters.TruePeak->Add(pcm);
    }
    // The end of the chunk before: the true-peak filter's history only.
    void Lead(std::span<const float> pcm) override { FMeters.TruePeak->Prime(pcm); }

private:
    TChunkMeters& FMeters;
    size_t FChannels;
    int64_t FAt;
    TSampleTrim FTrim;
};

// Chunks of at least this many frames (about 25 s at 44.1 kHz), so that the
// meters' lost blocks at chunk boundaries stay few.
constexpr size_t MinChunkFrames = 1024;
// A range is cut into this many chunks (or fewer, of MinChunkFrames), the
// same for any thread count, so that the figures never depend on it.
constexpr size_t RangeChunks = 8;
// Each chunk decodes the frame before it again: its samples give the
// true-peak filter the history it has in a measurement of the whole range.
constexpr size_t LeadFrames = 1;

} // namespace

TLoudnessResult NothingToMeasure()
{
    TLoudnessResult out;
    out.Result.Status = TDecodeStatus::EmptyRange;
    out.Result.Message = "no audio frame in the range";
    TLoudness& l = out.Loudness;
    l.IntegratedLufs = l.TruePeakDbtp = l.SamplePeakDbfs = -HUGE_VAL;
    return out;
}

namespace {

using TMeters = std::vector<std::unique_ptr<TChunkMeters>>;

// Decodes range into meters of its own chunks, added to meters.
TDecodeResult MeterRange(const std::string& fileName, const TDecodeRange& range, const TDecodeOptions& options,
                         TSampleTrim trim, int samplesPerFrame, TMeters& all)
{
    TDecodeOptions chunked = options;
    const size_t frames = range.Last > range.First ? range.Last - range.First : 0;
    if (chunked.ChunkFrames == 0)
        chunked.ChunkFrames = std::max(MinChunkFrames, (frames + RangeChunks - 1) / RangeChunks);
    std::mutex mutex;
    // Unique pointers: the vector grows while other chunks use their meters.
    TMeters meters;
    // The chunks' frames, set before the first chunk starts: where each
    // chunk's samples begin, for the trim.
    std::vector<TChunkFrames> plan;
    const auto factory = [&](size_t chunk, const TPcmFormat& format) -> std::unique_ptr<TChunkConsumer> {
        auto chunkMeters = std::make_unique<TChunkMeters>();
        chunkMeters->Loudness.reset(ebur128_init(static_cast<unsigned>(format.Channels),
                                                 static_cast<unsigned long>(format.SampleRate),
                                                 EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_HISTOGRAM));
        chunkMeters->TruePeak = std::make_unique<TTruePeakMeter>(format.Channels);
        const int64_t at = chunk < plan.size() ? static_cast<int64_t>(plan[chunk].First - range.First) * samplesPerFrame : 0;
        auto consumer = std::make_unique<TMeterConsumer>(*chunkMeters, static_cast<size_t>(format.Channels), at,
                                                         samplesPerFrame > 0 ? trim : TSampleTrim{});
        std::lock_guard lock(mutex);
        if (meters.size() <= chunk)
            meters.resize(chunk + 1);
        meters[chunk] = std::move(chunkMeters);
        return consumer;
    };
    const TDecodeResult result = DecodeChunks(fileName, range, chunked, LeadFrames, factory, &plan);
    for (auto& m : meters)
        all.push_back(std::move(m));
    return result;
}

// The figures of all meters together: libebur128 joins their gating
// blocks for the loudness and the range; the peaks are the highest.
TLoudnessResult JoinMeters(const TMeters& meters)
{
    TLoudnessResult out;
    std::vector<ebur128_state*> states;
    double truePeak = 0.0, samplePeak = 0.0;
    for (const auto& m : meters) {
        if (m && m->Loudness)
            states.push_back(m->Loudness.get());
        if (m) {
            truePeak = std::max(truePeak, m->TruePeak->Peak());
            samplePeak = std::max(samplePeak, m->TruePeak->SamplePeak());
        }
    }
    if (states.empty()) {
        out.Result.Status = TDecodeStatus::DecodeError;
        out.Result.Message = "libebur128 could not be set up";
        return out;
    }
    TLoudness& l = out.Loudness;
    double integrated = -HUGE_VAL, range_ = 0.0;
    ebur128_loudness_global_multiple(states.data(), states.size(), &integrated);
    ebur128_loudness_range_multiple(states.data(), states.size(), &range_);
    l.IntegratedLufs = integrated;
    l.RangeLu = range_;
    l.TruePeakDbtp = LevelToDb(truePeak);
    l.SamplePeakDbfs = LevelToDb(samplePeak);
    l.TrackGainDb = std::isfinite(integrated) ? ReplayGainReferenceLufs - integrated : 0.0;
    return out;
}

} // namespace

TLoudnessResult MeasureLoudness(const std::string& fileName, const TDecodeRange& range,
                                const TDecodeOptions& options, TSampleTrim trim, int samplesPerFrame)
{
    TMeters meters;
    const TDecodeResult result = MeterRange(fileName, range, options, trim, samplesPerFrame, meters);
    if (result.Status == TDecodeStatus::EmptyRange)
        return NothingToMeasure();
    if (result.Status != TDecodeStatus::Done)
        return {result, {}};
    return JoinMeters(meters);
}

TLoudnessResult MeasureLoudnessTogether(std::span<const TLoudnessPart> parts, const TDecodeOptions& options)
{
    TMeters meters;
    for (const TLoudnessPart& part : parts) {
        const TDecodeResult result = MeterRange(part.FileName, part.Range, options, {}, 0, meters);
        if (result.Status != TDecodeStatus::Done && result.Status != TDecodeStatus::EmptyRange)
            return {result, {}};
    }
    if (meters.empty())
        return NothingToMeasure();
    return JoinMeters(meters);
}

} // namespace vivizu
