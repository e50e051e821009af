#include "engine/tags/Id3v1Tag.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace vivizu {

// Indexes 0-79: the genres of the ID3v1 definition; 80-147: the Winamp
// extension. Ten names per line.
const std::array<const char*, ID3v1GenreCount> ID3v1Genres{
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop",
    "Vocal", "Jazz+Funk",
    "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game", "Sound Clip", "Gospel",
    "Noise",
    "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative", "Instrumental Pop",
    "Instrumental Rock", "Ethnic", "Gothic",
    "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock",
    "Comedy", "Cult", "Gangsta",
    "Top 40", "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave",
    "Psychadelic", "Rave", "Showtunes",
    "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
    "Rock & Roll", "Hard Rock",
    "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival",
    "Celtic", "Bluegrass",
    "Avantgarde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock", "Symphonic Rock",
    "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",
    "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass",
    "Primus", "Porn Groove",
    "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad",
    "Rhythmic Soul", "Freestyle",
    "Duet", "Punk Rock", "Drum Solo", "Acapella", "Euro-House", "Dance Hall", "Goa", "Drum & Bass",
    "Club-House", "Hardcore",
    "Terror", "Indie", "BritPop", "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta Rap",
    "Heavy Metal", "Black Metal", "Crossover",
    "Contemporary Christian", "Christian Rock", "Merengue", "Salsa", "Trash Metal", "Anime", "Jpop",
    "Synthpop",
};

std::string_view TagFieldText(const char* field, std::size_t size)
{
    const auto end = std::find(field, field + size, '\0');
    return std::string_view(field, static_cast<std::size_t>(end - field));
}

bool HasTagMarker(const TID3v1Tag& tag)
{
    return std::memcmp(tag.Marker, "TAG", 3) == 0;
}

// On-disk offsets of the tag's fields.
namespace {
constexpr int CommentOffset = 97;
constexpr int TrackZeroOffset = 125; // comment byte 28
constexpr int TrackOffset = 126;     // comment byte 29
constexpr int GenreOffset = 127;
constexpr int RecordTextBytes = 127; // Marker .. Comment, the same bytes in both layouts
} // namespace

TID3v1Tag DecodeID3v1Tag(const uint8_t* disk)
{
    TID3v1Tag tag{};
    static_assert(offsetof(TID3v1Tag, Track) == RecordTextBytes);
    std::memcpy(&tag, disk, RecordTextBytes);
    if (disk[TrackZeroOffset] == 0) {
        tag.Comment[28] = 0;
        tag.Comment[29] = 0;
        tag.Track = disk[TrackOffset];
    } else {
        tag.Track = 0;
    }
    tag.Genre = disk[GenreOffset];
    static_assert(CommentOffset + 30 == RecordTextBytes);
    return tag;
}

std::array<uint8_t, ID3v1TagSize> EncodeID3v1Tag(const TID3v1Tag& tag)
{
    std::array<uint8_t, ID3v1TagSize> disk{};
    std::memcpy(disk.data(), &tag, RecordTextBytes);
    if (tag.Track > 0) {
        disk[TrackZeroOffset] = 0;
        disk[TrackOffset] = tag.Track;
    }
    disk[GenreOffset] = tag.Genre;
    return disk;
}

std::string Latin1ToUtf8(std::string_view text)
{
    std::string out;
    for (const unsigned char c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace vivizu
