#pragma once
// The engine's cut request as both front ends build it: the ID3v1 tag
// record (the source's tag, an empty one, or none, with the user's field
// changes), the cut options, and the conversion of tag texts between the
// tag's code page and UTF-8.
#include "engine/CutResult.h"
#include "engine/tags/Id3v1Tag.h"
#include "engine/StreamInfo.h"
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vivizu {

enum class TTagMode {
    FromSource, // the source's tag when it has one (or when fields are changed)
    Always,     // a tag even when the source has none
    Never,      // no tag
};

// Field changes; texts are UTF-8. Track is any whole number (outside 1-255
// it means no track), Genre is 0-255.
struct TTagEdits {
    std::optional<std::string> Title, Artist, Album, Year, Comment;
    std::optional<int> Track, Genre;

    bool Any() const
    {
        return Title || Artist || Album || Year || Comment || Track || Genre;
    }
};

// Everything the user chose for a cut besides its range.
struct TCutChoices {
    TTagMode Mode = TTagMode::FromSource;
    TTagEdits Edits;
    bool KeepID3v2 = false;
    bool LengthHeader = false;
    bool ExactCut = false;
    bool DeclineEmpty = false;
    // Gain in 1.5 dB steps and fades, applied without decoding.
    int GainSteps = 0;
    int32_t FadeInMs = 0, FadeOutMs = 0;
    // Loudness normalisation: a target in LUFS whose steps (measured on the
    // selection before the cut) add to GainSteps, and whether the true peak
    // may pass -1 dBTP. BuildCutRequest does not measure; the caller adds.
    std::optional<double> NormalizeLufs;
    bool AllowClipping = false;
    // Stretches of the source left out of the cut.
    std::vector<TRemoved> Removed;
    int32_t JoinFadeMs = 0; // each join faded out and in over this much
    bool StretchChapters = false; // a chapter where each kept stretch begins
};

// What the engine's CutSegment takes besides the range and the destination.
struct TCutRequest {
    TID3v1Tag Tag{};
    TCutOptions Options;
};

// The record to write: its marker is "TAG" when a tag is to be written and
// three zero bytes otherwise. Text fields hold the text up to its first zero
// byte and zero bytes after it, in codePage, cut at whole characters.
TID3v1Tag BuildCutTag(const TMp3StreamInfo& source, TTagMode mode, const TTagEdits& edits,
                      int codePage);

// The tag record and the options for a cut of source; tag texts are read and
// written in codePage.
TCutRequest BuildCutRequest(const TMp3StreamInfo& source, const TCutChoices& choices,
                            int codePage);

// A UTF-8 text as the bytes of a tag field of at most maxBytes in codePage,
// cut at a whole character; what the code page cannot hold becomes "?".
std::string TagFieldBytes(std::string_view utf8, std::size_t maxBytes, int codePage);

// A tag field's text (in codePage) as UTF-8.
std::string TagTextToUtf8(std::string_view text, int codePage);

} // namespace vivizu
