// Feeds arbitrary bytes to LoadFile as a file, then cuts it several ways. A
// crash, hang, leak or sanitizer report is a finding; so is a broken promise
// of the engine (checked below with abort()).
#include "engine/io/FileStream.h"
#include "engine/frames/FrameWalk.h"
#include "engine/cut/LengthHeader.h"
#include "engine/RoruvoMp3.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vivizu;

namespace {

using Bytes = std::vector<uint8_t>;

// One folder per fuzzing process, removed when it ends.
struct FuzzDir {
    std::string Path;
    FuzzDir()
    {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        Path = std::string(base) + "/vivizu-fuzz-XXXXXX";
        if (mkdtemp(Path.data()) == nullptr)
            std::abort();
    }
    ~FuzzDir()
    {
        std::remove((Path + "/in.mp3").c_str());
        std::remove((Path + "/out.mp3").c_str());
        std::remove((Path + "/again.mp3").c_str());
        rmdir(Path.c_str());
    }
};

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "engine promise broken: %s\n", what);
        std::abort();
    }
}

// Cuts [start, end). The file does not change meanwhile, so no read error may
// arise: a frame cut short by the end of the file is simply no frame.
bool Cut(TRoruvoMP3& mp3, int32_t start, int32_t end, const std::string& out, const TID3v1Tag& tag,
         Bytes& result)
{
    const bool written = mp3.SaveSegment(start, end, out, tag);
    Require(written == mp3.Valid, "SaveSegment writes exactly when the file is valid");
    result = written ? ReadAll(out) : Bytes{};
    return true;
}

// Samples a gapless player plays from an exact cut: its header frame's frame
// count times the samples per frame, less the delay and padding it stores.
// -1 when the output has no header or its frames differ in length of time.
int64_t PromisedSamples(const std::string& path)
{
    TInputFile input(path);
    if (input.Size() < 4)
        return -1;
    const std::span<const uint8_t> head = input.Peek(4096);
    if (head[0] != 0xFF || !IsHeaderFrame(head))
        return -1;
    const TEncoderInfo encoder = ReadEncoderInfo(head);
    Require(encoder.Present, "the header frame carries delay and padding");
    const int32_t samples = TMpegHeader::At(head.data()).SamplesPerFrame();
    TFrameIndex index(0, input.Size());
    index.ExtendToEnd(input);
    for (size_t i = 0; i < index.Count(); ++i)
        if (index.HeaderOf(i).SamplesPerFrame() != samples)
            return -1;
    return static_cast<int64_t>(index.Count()) * samples - encoder.Delay - encoder.Padding;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzDir dir;
    const std::string in = dir.Path + "/in.mp3";
    const std::string out = dir.Path + "/out.mp3";
    {
        std::ofstream file(in, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    TRoruvoMP3 mp3;
    mp3.LoadFile(in); // a readable file never raises
    Require(mp3.FileSize == static_cast<int64_t>(size), "FileSize");
    const int64_t length = mp3.Info.LengthMs;
    Require(length >= 0, "LengthMs is not negative");
    if (mp3.Valid)
        Require(int64_t{mp3.Info.ID3v2Size} + mp3.Info.LeadingZeros < mp3.FileSize, "first frame inside the file");

    TID3v1Tag noTag{};
    TID3v1Tag tag{};
    std::memcpy(tag.Marker, "TAG", 3);
    tag.Track = 9;

    Bytes whole, upToLength, part;
    const bool wholeRead = Cut(mp3, 0, INT32_MAX, out, noTag, whole);
    Require(whole.size() <= size, "a cut holds no more than the input");
    const int32_t end = static_cast<int32_t>(std::min<int64_t>(length, INT32_MAX));
    if (Cut(mp3, 0, end, out, noTag, upToLength) && wholeRead)
        Require(upToLength == whole, "a cut from 0 to the length holds every frame");
    if (Cut(mp3, end / 3, end / 3 * 2, out, tag, part) && wholeRead && mp3.Valid)
        Require(part.size() >= 128 && part.size() - 128 <= whole.size(), "a tagged middle cut");
    // Exact cuts: an exact cut of the whole of an exact cut promises the
    // same samples as the first.
    mp3.CutOptions.ExactCut = true;
    // (Layers I and II are declined: they have no header frame to trim by.)
    // A damaged stream may hold no frame that can carry the reservoir bytes
    // the cut's first frame needs: that cut is declined, with its reason.
    bool exactWritten = false;
    if (mp3.Valid && mp3.Info.Layer == 3) {
        const TCutResult result = mp3.CutSegment(end / 3, end, out, noTag, mp3.CutOptions);
        Require(result.Ok() || result.Status == TCutStatus::NotApplicable,
                "an exact cut of a readable stream is written or declined as not applicable");
        exactWritten = result.Ok();
        part = exactWritten ? ReadAll(out) : Bytes{};
    }
    if (exactWritten && !part.empty()) {
        const int64_t promised = PromisedSamples(out);
        const std::string again = dir.Path + "/again.mp3";
        std::rename(out.c_str(), again.c_str());
        TRoruvoMP3 cut;
        cut.LoadFile(again);
        Require(cut.Valid, "an exact cut is a stream");
        cut.CutOptions.ExactCut = true;
        Bytes recut;
        Require(Cut(cut, 0, INT32_MAX, out, noTag, recut), "an exact cut has no cut-short frame");
        // (Unless the audio's last bytes read as a trailing tag, which ends
        // the stream of the cut earlier than that of its source.)
        const bool tagLookalike = cut.Info.ID3v1Size > 0 || cut.Info.APESize > 0;
        if (promised >= 0 && PromisedSamples(out) >= 0 && !tagLookalike)
            Require(PromisedSamples(out) == promised, "an exact cut of an exact cut keeps its samples");
    }
    mp3.CutOptions.ExactCut = false;
    Cut(mp3, -7, 50, out, noTag, part);
    Cut(mp3, INT32_MAX, INT32_MIN, out, tag, part);
    if (mp3.Valid)
        Require(part.size() == 128, "an empty selection holds only the tag");
    return 0;
}
