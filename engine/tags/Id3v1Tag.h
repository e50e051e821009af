#pragma once
// The ID3v1 tag as a 129-byte record in memory (the track number in a byte
// of its own) and the 148 genre names its genre byte indexes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vivizu {

#pragma pack(push, 1)
struct TID3v1Tag {
    char Marker[3];    // "TAG" when the record holds a tag
    char Title[30];    // texts: the tag's code page, zero-padded, no terminator
    char Artist[30];
    char Album[30];
    char Year[4];
    char Comment[30];  // with Track != 0 only the first 28 bytes are comment
    uint8_t Track;     // 0 = none
    uint8_t Genre;     // index into ID3v1Genres
};
#pragma pack(pop)
static_assert(sizeof(TID3v1Tag) == 129);

inline constexpr int ID3v1GenreCount = 148;
extern const std::array<const char*, ID3v1GenreCount> ID3v1Genres;

// True when the record's marker reads "TAG".
bool HasTagMarker(const TID3v1Tag& tag);

// The text of a fixed-width tag field: its bytes up to the first zero byte,
// or the whole field when it has none.
std::string_view TagFieldText(const char* field, std::size_t size);
template <std::size_t N>
std::string_view TagFieldText(const char (&field)[N]) { return TagFieldText(field, N); }

// A Latin-1 text as UTF-8.
std::string Latin1ToUtf8(std::string_view text);

// Size of the tag on disk, at the very end of a file.
inline constexpr int ID3v1TagSize = 128;

// The record from the 128 bytes of a tag on disk: a comment whose byte 28 is
// 0 carries the track number in byte 29 (ID3v1.1); the record keeps the first
// 28 comment bytes, zeroes the last two and moves the track to Track.
TID3v1Tag DecodeID3v1Tag(const uint8_t* disk);

// The 128 bytes on disk for a record: the full 30-byte comment, or with a
// track number its first 28 bytes, a 0 byte and the track.
std::array<uint8_t, ID3v1TagSize> EncodeID3v1Tag(const TID3v1Tag& tag);

} // namespace vivizu
