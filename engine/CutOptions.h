#pragma once
// What a cut may add to the frames it copies. All off: the output is the
// copied frames and the optional ID3v1 tag, nothing else.
#include <functional>
#include <string>
#include <string_view>

namespace vivizu {

struct TCutOptions {
    // The source's ID3v2 tag at the start of the output, without the frames
    // that describe the old file's length or layout.
    bool KeepID3v2 = false;
    // A "Xing"/"Info" header frame with frame and byte counts, seek table and
    // encoder delay and padding before the audio.
    bool LengthHeader = false;
    // Exactly the samples from START to END of the source's gapless decode,
    // with a clean first sample. Implies the length header.
    bool ExactCut = false;
    // Turns an ID3v1 text (the tag's code page) into UTF-8 for the ID3v2
    // frames that edited fields replace; Latin-1 when not set.
    std::function<std::string(std::string_view)> TagTextToUtf8;

    bool Any() const { return KeepID3v2 || LengthHeader || ExactCut; }
};

} // namespace vivizu
