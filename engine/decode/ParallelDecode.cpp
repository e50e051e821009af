#include "engine/decode/ParallelDecode.h"

#include "engine/io/FileStream.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace vivizu {

namespace {

constexpr size_t PhaseFrames = 8;
constexpr int64_t ReservoirBytes = 1024;
// Header and the largest side information with its CRC: the bytes of a
// frame that carry no main data.
constexpr int64_t FrameOverhead = 4 + 32 + 2;
constexpr size_t DefaultChunkFrames = 512;
constexpr size_t CheckFrames = 2;
constexpr size_t MaxWarmUpShift = 40;
constexpr size_t MaxFrameSamples = 1152; // per channel, of any layer and version

size_t AlignDown(size_t frame) { return frame / PhaseFrames * PhaseFrames; }

unsigned ThreadCount(const TDecodeOptions& options)
{
    if (options.Threads > 0)
        return options.Threads;
    return std::max(1u, std::thread::hardware_concurrency());
}

// The first error by chunk order, so that a run reports the same error
// whichever thread reaches it first.
class TErrorSlot {
public:
    void Report(size_t chunk, TDecodeResult result)
    {
        std::lock_guard lock(FMutex);
        if (chunk < FChunk) {
            FChunk = chunk;
            FResult = std::move(result);
        }
        FFailed.store(true);
    }
    bool Failed() const { return FFailed.load(std::memory_order_relaxed); }
    TDecodeResult Result() const { return FResult; }

private:
    std::mutex FMutex;
    size_t FChunk = SIZE_MAX;
    TDecodeResult FResult;
    std::atomic<bool> FFailed{false};
};

} // namespace

size_t WarmUpStart(const TFrameStarts& starts, size_t first)
{
    if (first == 0)
        return 0;
    size_t warm = first - 1;
    int64_t bytes = 0;
    while (warm > 0 && bytes < ReservoirBytes) {
        --warm;
        bytes += std::max<int64_t>(0, starts[warm + 1] - starts[warm] - FrameOverhead);
    }
    return AlignDown(warm > 0 ? warm - 1 : 0);
}

std::vector<TChunkFrames> PlanChunks(const TFrameStarts& starts, size_t first, size_t last,
                                     size_t chunkFrames, size_t checkFrames)
{
    std::vector<TChunkFrames> chunks;
    const size_t step = std::max(PhaseFrames, AlignDown(chunkFrames + PhaseFrames - 1));
    for (size_t begin = first; begin < last;) {
        const size_t end = std::min(last, AlignDown(begin) + step);
        const size_t warm = WarmUpStart(starts, begin);
        const size_t check = chunks.empty() ? begin : std::max(warm, begin - std::min(begin, checkFrames));
        chunks.push_back({warm, check, begin, end});
        begin = end;
    }
    return chunks;
}

TDecodeResult DecodeChunks(const std::string& fileName, const TDecodeRange& range, const TDecodeOptions& options,
                           size_t checkFrames, const TChunkConsumerFactory& factory,
                           std::vector<TChunkFrames>* plan, const std::function<void()>& onStop)
{
    TDecodeResult result;
    if (range.First >= range.Last || range.Last > range.FrameCount()) {
        result.Status = TDecodeStatus::EmptyRange;
        result.Message = "no audio frame in the range";
        return result;
    }
    try {
        TInputFile input(fileName);
        result.Format = FrameFormatAt(input, range.FrameStarts[range.First]);
    } catch (const std::system_error& e) {
        return {TDecodeStatus::ReadError, e.what(), {}, 0};
    }
    if (result.Format.Channels == 0)
        return {TDecodeStatus::DecodeError,
                "no frame header at byte " + std::to_string(range.FrameStarts[range.First]), {}, 0};

    const unsigned threads = ThreadCount(options);
    const size_t chunkFrames = options.ChunkFrames > 0 ? options.ChunkFrames : DefaultChunkFrames;
    const std::vector<TChunkFrames> chunks =
        PlanChunks(range.FrameStarts, range.First, range.Last, chunkFrames, checkFrames);
    if (plan != nullptr)
        *plan = chunks;

    std::atomic<size_t> nextChunk{0};
    std::atomic<int64_t> samples{0};
    TErrorSlot errors;
    const std::function<bool()> stopped = [&] {
        return errors.Failed() || (options.Cancel != nullptr && options.Cancel->load(std::memory_order_relaxed));
    };
    const auto work = [&] {
        std::unique_ptr<TInputFile> input;
        try {
            input = std::make_unique<TInputFile>(fileName);
        } catch (const std::system_error& e) {
            errors.Report(0, {TDecodeStatus::ReadError, e.what(), {}, 0});
            if (onStop)
                onStop();
            return;
        }
        TChunkDecoder decoder(result.Format);
        for (size_t c = nextChunk++; c < chunks.size() && !stopped(); c = nextChunk++) {
            const std::unique_ptr<TChunkConsumer> consumer = factory(c, result.Format);
            const TDecodeResult r = decoder.Decode(*input, range.FrameStarts, chunks[c], stopped,
                                                   [&](std::span<const float> pcm, bool lead) {
                                                       if (lead) {
                                                           consumer->Lead(pcm);
                                                           return;
                                                       }
                                                       consumer->Samples(pcm);
                                                       if (options.SamplesDone != nullptr)
                                                           options.SamplesDone->fetch_add(
                                                               static_cast<int64_t>(pcm.size()) / result.Format.Channels,
                                                               std::memory_order_relaxed);
                                                   });
            if (r.Status != TDecodeStatus::Done) {
                if (r.Status != TDecodeStatus::Cancelled)
                    errors.Report(c, r);
                if (onStop)
                    onStop();
                return;
            }
            consumer->Finish(r.LeadSamples);
            samples += r.Samples;
        }
    };
    std::vector<std::thread> pool;
    const unsigned started = static_cast<unsigned>(std::min<size_t>(threads, chunks.size()));
    for (unsigned t = 1; t < started; ++t)
        pool.emplace_back(work);
    work(); // the calling thread decodes too
    for (std::thread& t : pool)
        t.join();

    if (errors.Failed()) {
        TDecodeResult e = errors.Result();
        e.Format = result.Format;
        return e;
    }
    if (options.Cancel != nullptr && options.Cancel->load()) {
        result.Status = TDecodeStatus::Cancelled;
        result.Message = "cancelled";
        return result;
    }
    result.Samples = samples.load();
    return result;
}

namespace {

// Decodes one chunk again from another warm-up frame, into pcm (check
// frames included); false when that failed.
using TRedecode = std::function<bool(const TChunkFrames& chunk, std::vector<float>& pcm)>;

// Keeps a chunk's samples until the chunks before it are delivered, checks
// its check frames against the end of the chunk before, then hands its own
// samples to the sink. A chunk that waits gives way when the decode stops;
// once the decode is cancelled the sink hears nothing more, even from chunks
// that were already decoded.
class TOrderedJoin {
public:
    TOrderedJoin(TPcmSink& sink, const std::vector<TChunkFrames>& plan, TRedecode redecode,
                 const std::atomic<bool>* cancel)
        : FSink(sink), FPlan(plan), FRedecode(std::move(redecode)), FCancel(cancel)
    {
    }

    class TConsumer : public TChunkConsumer {
    public:
        TConsumer(TOrderedJoin& join, size_t chunk, int channels)
            : FJoin(join), FChunk(chunk), FChannels(static_cast<size_t>(channels))
        {
        }
        void Samples(std::span<const float> pcm) override { FBuffer.insert(FBuffer.end(), pcm.begin(), pcm.end()); }
        void Finish(int64_t leadSamples) override
        {
            FJoin.Deliver(FChunk, std::move(FBuffer), static_cast<size_t>(leadSamples) * FChannels);
        }

    private:
        TOrderedJoin& FJoin;
        size_t FChunk;
        size_t FChannels;
        std::vector<float> FBuffer;
    };

    void Deliver(size_t chunk, std::vector<float> pcm, size_t lead)
    {
        std::unique_lock lock(FMutex);
        FTurn.wait(lock, [&] { return FNext == chunk || FAbandoned; });
        if (FAbandoned)
            return;
        if (FCancel != nullptr && FCancel->load()) {
            FAbandoned = true;
            FTurn.notify_all();
            return;
        }
        if (lead > 0 && !Continues(pcm, lead)) {
            ++JoinsRedone;
            bool equal = false;
            TChunkFrames again = FPlan[chunk];
            for (size_t shift = 1; shift <= MaxWarmUpShift && again.Warm > 0 && !equal; ++shift) {
                --again.Warm;
                std::vector<float> other;
                if (!FRedecode(again, other) || other.size() != pcm.size())
                    break;
                if (Continues(other, lead)) {
                    pcm = std::move(other);
                    equal = true;
                }
            }
            if (!equal)
                ++JoinsUnequal;
        }
        if (pcm.size() > lead)
            FSink.Samples(std::span<const float>(pcm).subspan(lead));
        // Only the end that the next chunk's check frames are compared with
        // is kept (their frames' samples, of two channels at most).
        const size_t tail = std::min(pcm.size(), CheckFrames * MaxFrameSamples * 2);
        FPrevious.assign(pcm.end() - static_cast<ptrdiff_t>(tail), pcm.end());
        ++FNext;
        FTurn.notify_all();
    }

    // Releases the chunks that wait for one that will never come.
    void Abandon()
    {
        std::lock_guard lock(FMutex);
        FAbandoned = true;
        FTurn.notify_all();
    }

    int JoinsRedone = 0;
    int JoinsUnequal = 0;

private:
    // Whether pcm's first lead samples are the last of the chunk before.
    bool Continues(const std::vector<float>& pcm, size_t lead) const
    {
        return FPrevious.size() >= lead && pcm.size() >= lead
               && std::memcmp(FPrevious.data() + FPrevious.size() - lead, pcm.data(), lead * sizeof(float)) == 0;
    }

    TPcmSink& FSink;
    const std::vector<TChunkFrames>& FPlan;
    TRedecode FRedecode;
    const std::atomic<bool>* FCancel;
    std::mutex FMutex;
    std::condition_variable FTurn;
    size_t FNext = 0;
    bool FAbandoned = false;
    std::vector<float> FPrevious;
};

} // namespace

TDecodeResult DecodeInOrder(const std::string& fileName, const TDecodeRange& range, const TDecodeOptions& options,
                            TPcmSink& sink)
{
    std::vector<TChunkFrames> plan;
    TPcmFormat format;
    const auto redecode = [&](const TChunkFrames& chunk, std::vector<float>& pcm) {
        try {
            TInputFile input(fileName);
            TChunkDecoder decoder(format);
            const auto stopped = [&] { return options.Cancel != nullptr && options.Cancel->load(); };
            return decoder
                       .Decode(input, range.FrameStarts, chunk, stopped,
                               [&](std::span<const float> p, bool) { pcm.insert(pcm.end(), p.begin(), p.end()); })
                       .Status
                   == TDecodeStatus::Done;
        } catch (const std::system_error&) {
            return false;
        }
    };
    TOrderedJoin join(sink, plan, redecode, options.Cancel);
    std::once_flag begun;
    const auto factory = [&](size_t chunk, const TPcmFormat& chunkFormat) -> std::unique_ptr<TChunkConsumer> {
        std::call_once(begun, [&] {
            format = chunkFormat;
            sink.Begin(chunkFormat);
        });
        return std::make_unique<TOrderedJoin::TConsumer>(join, chunk, chunkFormat.Channels);
    };
    // A thread that stops early (an error, or the decode cancelled) leaves
    // a chunk that never comes: the chunks waiting behind it give way.
    TDecodeResult result =
        DecodeChunks(fileName, range, options, CheckFrames, factory, &plan, [&] { join.Abandon(); });
    result.JoinsRedone = join.JoinsRedone;
    result.JoinsUnequal = join.JoinsUnequal;
    return result;
}

} // namespace vivizu
