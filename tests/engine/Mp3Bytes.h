#pragma once
// Builds MP3 byte images for the engine tests and keeps them in a temporary
// folder that is removed afterwards.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vivizu::test {

using Bytes = std::vector<uint8_t>;
using Header = std::array<uint8_t, 4>;

// Headers used throughout: MPEG 1 Layer 3 128 kbit/s at 44100 Hz (417 bytes,
// 26.12 ms) and at 48000 Hz (384 bytes, 24 ms); MPEG 2 Layer 3 64 kbit/s
// 16000 Hz mono (288 bytes, 36 ms).
inline constexpr Header H44{0xFF, 0xFB, 0x90, 0x64};
inline constexpr Header H48{0xFF, 0xFB, 0x94, 0x40};
inline constexpr Header H16Mono{0xFF, 0xF3, 0x88, 0xC4};

// One frame of the header's length: the header, then `fill` bytes.
Bytes Frame(const Header& header, uint8_t fill);
// count frames, the i-th filled with firstFill + i so each can be recognised.
Bytes Frames(const Header& header, int count, uint8_t firstFill = 0x10);
// A frame whose bytes at offset read text ("Xing", "Info", "VBRI").
Bytes HeaderFrame(const Header& header, int offset, const char* text);
// An ID3v2 tag with `size` bytes after its 10-byte header.
Bytes Id3v2(int32_t size);
// A 128-byte ID3v1 tag on disk with the given comment bytes 28, 29 and genre.
Bytes Id3v1(const std::string& title, uint8_t comment28, uint8_t comment29, uint8_t genre);
// A 128-byte ID3v1.1 tag from its fields: texts are raw bytes, cut or
// zero-padded; a track above 0 takes comment bytes 28 and 29.
Bytes Id3v1Fields(const std::string& title, const std::string& artist, const std::string& album,
                  const std::string& year, const std::string& comment, int track, int genre);
// A 32-byte APE tag footer.
Bytes ApeFooter();
// A whole APE tag (version 2000) with one item key = value: the header when
// withHeader, the item, and the footer, whose size field is sizeField when
// given, else the items and footer.
Bytes ApeTag(const std::string& key, const Bytes& value, bool withHeader, int64_t sizeField = -1);

// The bytes of a text, for files that hold no audio.
inline Bytes TextBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes operator+(Bytes a, const Bytes& b);
Bytes Slice(const Bytes& b, size_t from, size_t count);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return FPath; }
    std::string operator/(const std::string& name) const { return FPath + "/" + name; }
    // Writes bytes to name in the folder and returns the full path.
    std::string Write(const std::string& name, const Bytes& bytes) const;
    // Names of the entries in the folder, sorted.
    std::vector<std::string> Names() const;

private:
    std::string FPath;
};

Bytes ReadAll(const std::string& path);
bool Exists(const std::string& path);

} // namespace vivizu::test
