#pragma once
// The engine object: analyses one MP3 file, cuts a time range of it into a
// new file, and plays a time range for preview through its media device.
#include "engine/CutResult.h"
#include "engine/MediaDevice.h"
#include "engine/StreamInfo.h"
#include "engine/cut/SplitPlan.h"
#include "engine/decode/GranuleLevels.h"
#include "engine/frames/FrameIndex.h"
#include "engine/tags/Id3v1Tag.h"
#include "engine/tags/Id3v2Chapters.h"
#include "engine/tags/Id3v2Copy.h"
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace vivizu {

class TInputFile;
class TOutputFile;
struct TCutLayout;
struct TEncoderInfo;
struct TCutPlan;

// One piece of a split: its range on the stream (from PlanPlainSplit on
// Index(), or PlanExactSplit), where it goes and its ID3v1 tag (written when
// its marker reads "TAG").
struct TSplitPiece {
    TSplitRange Range;
    std::string FileName;
    TID3v1Tag Tag{};
    // Steps of 1.5 dB this piece adds to the options' GainSteps (its own
    // loudness normalisation); 0 for none.
    int GainSteps = 0;
};

struct TSplitResult {
    size_t Written = 0;   // the pieces written, in order, before any failure
    TCutResult Failure;   // Done when every piece was written
    bool Stopped = false; // ended by the stop callback after Written pieces
};

class TRoruvoMP3;

// One file of a join: the analysed file and the range of it to take, in
// milliseconds (EndMs past its end: to its end).
struct TJoinInput {
    TRoruvoMP3* Mp3 = nullptr;
    int32_t StartMs = 0;
    int32_t EndMs = INT32_MAX;
};

// What a join adds around the frames.
struct TJoinOptions {
    bool LengthHeader = false;  // one header frame for the whole
    bool KeepID3v2 = false;     // the first file's ID3v2 tag first
    // One chapter per input and the table of contents, in the leading ID3v2
    // tag. A chapter is titled by its file's ID3v2 title, else its ID3v1
    // title (read by TagTextToUtf8, Latin-1 when not set), else by
    // ChapterTitles (one a file).
    bool Chapters = false;
    std::vector<std::string> ChapterTitles;
    std::function<std::string(std::string_view)> TagTextToUtf8;
    TID3v1Tag Tag{};            // written last when its marker reads "TAG"
    // Volume (Layer III only): steps of 1.5 dB on every granule, a fade-in
    // over the first file's first and a fade-out over the last file's last
    // milliseconds, and a fade out and in over this many milliseconds on
    // either side of each join between two files.
    int GainSteps = 0;
    int32_t FadeInMs = 0;
    int32_t FadeOutMs = 0;
    int32_t JoinFadeMs = 0;

    bool ChangesVolume() const { return GainSteps != 0 || FadeInMs > 0 || FadeOutMs > 0 || JoinFadeMs > 0; }
};

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
    // The options SaveSegment cuts with; all off by default.
    TCutOptions CutOptions;

    // Errors of the file system are raised as std::system_error.
    void LoadFile(const std::string& fileName);
    // The same; with measureLength false the walk over every frame that
    // gives LengthMs and the frame index is left out (LengthMs stays 0), for
    // callers that only cut and have no use for the length: the index then
    // grows as far as a cut needs.
    void LoadFile(const std::string& fileName, bool measureLength);

    // When set, LoadFile's walk over every frame also estimates each
    // granule's level from the frame's side information (or its
    // scalefactors), without a second pass: LevelEstimate() then holds it.
    bool EstimateLevels = false;
    // The estimate of the last LoadFile that measured the length with
    // EstimateLevels set; empty otherwise.
    const TGranuleLevels& LevelEstimate() const { return FLevelEstimate; }
    // Hands the estimate over (a long file's is megabytes); LevelEstimate()
    // is empty after it.
    TGranuleLevels TakeLevelEstimate() { return std::exchange(FLevelEstimate, TGranuleLevels()); }

    // The frames of the analysed stream as the cut walks them; complete
    // after LoadFile with the length measured.
    const TFrameIndex& Index() const { return FIndex; }
    // Completes the index (walking the rest of the stream); raises the
    // file's errors as std::system_error.
    const TFrameIndex& CompleteIndex();
    // The length of the stream as gapless players play it, the timeline of
    // exact cuts: the complete index's duration less the encoder delay and
    // padding its header frame gives. Raises the file's errors as
    // std::system_error.
    TStreamTime GaplessDuration();
    // Writes the frames from StartMs to EndMs to OutFileName, then Tag when
    // its marker reads "TAG". True when the output was written; false when
    // there is no analysed stream, the input is gone, or the output cannot
    // be created (also when it is the input). Read and write errors are
    // raised as std::system_error; the earlier file of that name is kept and
    // no temporary file is left.
    bool SaveSegment(int32_t StartMs, int32_t EndMs, const std::string& OutFileName,
                     TID3v1Tag Tag);
    // The same cut, reporting every outcome with its reason instead of
    // raising; raises only what is no error of the files (out of memory).
    TCutResult CutSegment(int32_t StartMs, int32_t EndMs, const std::string& OutFileName,
                          const TID3v1Tag& Tag, const TCutOptions& Options = {});

    // Writes the pieces one after another in one pass over the input, each
    // through the one cut writer and the safe output path; Options.ExactCut
    // makes each an exact cut of its range (ranges from PlanExactSplit).
    // Every destination is checked before the first is written. Stops at the
    // first piece that cannot be written; the pieces before it stay written.
    // written is called with each piece's number once it is in place; stop
    // is asked before each piece, and when it says yes the split ends there
    // (Stopped): the pieces in place stay, no later one is begun.
    TSplitResult WriteSplit(const std::vector<TSplitPiece>& pieces, const TCutOptions& Options,
                            const std::function<void(size_t)>& written = {},
                            const std::function<bool()>& stop = {});

    // Writes a copy of the whole file to OutFileName with ID3v2 chapters in
    // its leading tag (the source's tag kept, its chapters replaced); every
    // byte after the source's leading tags is copied unchanged.
    TCutResult WriteChapters(const std::vector<TChapter>& chapters, const std::string& OutFileName);

    // Writes the ranges of several analysed files one after another into
    // OutFileName as one stream, through the one writer and the safe output
    // path. Files whose format (MPEG version, layer, sample rate, channel
    // count) differs are refused before anything is written. A Layer III
    // file taken from within whose first frame borrows bytes gets a silent
    // frame before it that carries them.
    static TCutResult Join(const std::vector<TJoinInput>& inputs, const std::string& OutFileName,
                           const TJoinOptions& Options);

    bool PlayRange(int64_t StartMs, int64_t EndMs);
    // The same for another file on this engine's device (a cut written for
    // listening); Valid is not asked, the device judges the file.
    bool PlayFile(const std::string& fileName, int64_t StartMs, int64_t EndMs);
    void StopPlaying();
    int64_t PlayPosition();
    bool IsStopped();

    TMediaDevice* Player() const { return FPlayer.get(); }

private:
    // Refuses an output that is the input or cannot be written, before
    // anything is created.
    static std::optional<TCutResult> CheckDestination(const TInputFile& input,
                                                      const std::string& OutFileName);
    // Creates the cut's output file; a refusal with its reason when it
    // cannot be created.
    static std::optional<TCutResult> OpenOutput(const std::string& OutFileName,
                                                std::optional<TOutputFile>& output);
    // Opens the output and has write fill it (and commit it); the refusal
    // when it cannot be created, WriteError when writing fails. Read errors
    // pass on.
    static TCutResult WriteOutput(const std::string& OutFileName, const std::function<void(TOutputFile&)>& write);
    // The outcome of the read or write error being handled; call only while
    // it is caught.
    static TCutResult CaughtError(TCutStatus status, const std::system_error& e);
    // Reads the ID3v1 tag and the APE footer at the end of the input.
    void ReadTrailingTags(TInputFile& input);
    // The cut on the open input, whose destination has been checked.
    TCutResult Cut(TInputFile& input, int32_t StartMs, int32_t EndMs, const std::string& OutFileName,
                   const TID3v1Tag& Tag, const TCutOptions& Options);
    // Opens the output and writes plan through the one writer.
    TCutResult WritePlanned(TInputFile& input, const TCutPlan& plan, const TCutLayout& layout,
                            const std::string& OutFileName,
                            const TCutOptions& Options = {});
    // One piece of a split on the open input.
    TCutResult WritePiece(TInputFile& input, const TSplitPiece& piece, const TCutOptions& Options);
    // The encoder delay and padding the source's own header frame gives.
    TEncoderInfo SourceEncoder(TInputFile& input) const;
    // What the cut adds around its frames.
    TCutLayout Layout(TInputFile& input, const TID3v1Tag& Tag, const TCutOptions& Options) const;
    // The ID3v1 fields of Tag that differ from the source's, for its ID3v2
    // tag; none when Tag is not written.
    TId3v2Edits EditedFields(const TID3v1Tag& Tag, const TCutOptions& Options) const;
    // Byte position of the first frame, and the end of the audio: where the
    // trailing tags begin (the whole APE tag, not only its footer). Every
    // walk, length and copy of frames ends there.
    int64_t AudioStart() const;
    int64_t AudioEnd() const;
    // Reads the leading ID3v2 tags and the zero bytes after them; the input
    // is left at the first byte after them. False when nothing follows.
    bool ReadLeadingTags(TInputFile& input);
    // True when input is the file as it was analysed: same size and time of
    // last change.
    bool AsAnalysed(const TInputFile& input) const;

    TFrameIndex FIndex;
    TGranuleLevels FLevelEstimate;
    // The frames as decoders find them, for the exact cut; made when first
    // needed.
    std::optional<TFrameIndex> FDecoderIndex;
    struct timespec FModified {};
    int64_t FApeTagLength = 0; // the whole APE tag, header and footer included; 0 without one
    std::unique_ptr<TMediaDevice> FPlayer;
};

} // namespace vivizu
