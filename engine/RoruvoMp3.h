#pragma once
// The engine object: analyses one MP3 file, cuts a time range of it into a
// new file, and plays a time range for preview through its media device.
#include "engine/CutOptions.h"
#include "engine/Id3v1Tag.h"
#include "engine/Id3v2Copy.h"
#include "engine/MediaDevice.h"
#include "engine/StreamInfo.h"
#include <cstdint>
#include <memory>
#include <string>

namespace vivizu {

class TInputFile;
class TOutputFile;

class TRoruvoMP3 {
public:
    // Analyses fileName when it names an existing file. The player may be
    // null (no preview; PlayRange then raises TMediaError).
    explicit TRoruvoMP3(const std::string& fileName = {},
                        std::unique_ptr<TMediaDevice> player = nullptr);
    virtual ~TRoruvoMP3();
    TRoruvoMP3(const TRoruvoMP3&) = delete;
    TRoruvoMP3& operator=(const TRoruvoMP3&) = delete;

    std::string FileName;   // the path last given to LoadFile
    int64_t FileSize = 0;
    bool Valid = false;     // a frame header was found where the audio begins
    TMp3StreamInfo Info;
    // What SaveSegment adds to the copied frames; all off by default.
    TCutOptions CutOptions;

    // Errors of the file system are raised as std::system_error.
    void LoadFile(const std::string& fileName);
    // The same; with measureLength false the walk over every frame that
    // gives LengthMs is left out (LengthMs stays 0), for callers that only
    // cut and have no use for the length.
    void LoadFile(const std::string& fileName, bool measureLength);
    // With CutOptions all off, the frames from StartMs to EndMs and the tag;
    // otherwise also what the options ask for.
    bool SaveSegment(int32_t StartMs, int32_t EndMs, const std::string& OutFileName,
                     TID3v1Tag Tag);
    // Why the last SaveSegment with options wrote nothing although the input
    // was valid and the output could be made (empty otherwise).
    std::string CutDeclined;

    bool PlayRange(int64_t StartMs, int64_t EndMs);
    void StopPlaying();
    int64_t PlayPosition();
    bool IsStopped();

    TMediaDevice* Player() const { return FPlayer.get(); }

private:
    // Moves the input from the first frame to the first frame that begins at
    // or after StartMs.
    static void SkipToTime(TInputFile& input, int32_t StartMs);
    // Appends Tag to the output as the 128-byte ID3v1.1 tag.
    static void WriteID3v1Tag(TOutputFile& output, const TID3v1Tag& Tag);
    // Reads the ID3v1 tag and the APE footer at the end of the input.
    void ReadTrailingTags(TInputFile& input);
    // Play length from the frames, as a cut from the first frame counts them.
    int64_t MeasureLengthMs(TInputFile& input) const;
    // The cut with CutOptions: kept ID3v2 tag, length header, exact frames.
    bool SaveShapedSegment(TInputFile& input, int32_t StartMs, int32_t EndMs,
                           const std::string& OutFileName, const TID3v1Tag& Tag);
    // The ID3v1 fields of Tag that differ from the source's, for its ID3v2
    // tag; none when Tag is not written.
    TId3v2Edits EditedFields(const TID3v1Tag& Tag) const;
    // True when OutFileName may be created as the cut of input: not the
    // input itself, a plain file and writable when it exists.
    static bool MayWriteOutput(const TInputFile& input, const std::string& OutFileName);
    // Byte position of the first frame and the limit before which a step of
    // the copy walk may begin.
    int64_t AudioStart() const;
    int64_t AudioLimit() const;

    std::unique_ptr<TMediaDevice> FPlayer;
};

} // namespace vivizu
