#pragma once
// Byte-built MP3 files: MPEG 1 Layer 3 frames of 128 kbit/s at 44100 Hz
// (417 bytes, 26.122... ms each), each carrying its number in its fifth byte
// so that a cut's frames can be told apart, and ID3v1.1 tags.
#include <string>

namespace clitest {

inline constexpr std::size_t FrameBytes = 417;

// Frame number n (0-255) of the stream.
std::string Frame(int n);

// Frames first .. first+count-1.
std::string Frames(int first, int count);

// A 128-byte ID3v1.1 tag; texts are raw bytes, cut or zero-padded.
std::string Id3v1Tag(const std::string& title, const std::string& artist,
                     const std::string& album, const std::string& year,
                     const std::string& comment, int track, int genre);

} // namespace clitest
