// The tag record a cut writes: kept, added, left out, edited.
#include "cli/CutTag.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace vivizu;

namespace {

TMp3StreamInfo SourceWithTag()
{
    TMp3StreamInfo info;
    info.ID3v1Size = 128;
    TID3v1Tag& t = info.Tag;
    std::memcpy(t.Marker, "TAG", 3);
    std::memcpy(t.Title, "Song\0junk after zero", 20);
    std::memcpy(t.Artist, "Art\xE9", 4);
    std::memcpy(t.Year, "1999", 4);
    std::memcpy(t.Comment, "123456789012345678901234567890", 30); // 30 bytes, no track
    t.Genre = 17;
    return info;
}

std::string Field(const char* f, std::size_t n) { return std::string(f, n); }
std::string Padded(std::string s, std::size_t n) { s.resize(n, '\0'); return s; }

} // namespace

TEST(BuildCutTag, KeepsTheSourceTagWithTextsEndingAtTheirFirstZero)
{
    const TID3v1Tag t = BuildCutTag(SourceWithTag(), TTagMode::FromSource, {}, 1252);
    EXPECT_EQ(Field(t.Marker, 3), "TAG");
    EXPECT_EQ(Field(t.Title, 30), Padded("Song", 30)); // the bytes after the zero are gone
    EXPECT_EQ(Field(t.Artist, 30), Padded("Art\xE9", 30));
    EXPECT_EQ(Field(t.Year, 4), "1999");
    EXPECT_EQ(Field(t.Comment, 30), "123456789012345678901234567890");
    EXPECT_EQ(t.Track, 0);
    EXPECT_EQ(t.Genre, 17);
    // --tag on a source that has one gives the same record.
    const TID3v1Tag always = BuildCutTag(SourceWithTag(), TTagMode::Always, {}, 1252);
    EXPECT_EQ(std::memcmp(&t, &always, sizeof t), 0);
}

TEST(BuildCutTag, ModesDecideWhetherThereIsATag)
{
    const TMp3StreamInfo bare;
    EXPECT_EQ(Field(BuildCutTag(bare, TTagMode::FromSource, {}, 1252).Marker, 3), Padded("", 3));
    EXPECT_EQ(Field(BuildCutTag(SourceWithTag(), TTagMode::Never, {}, 1252).Marker, 3), Padded("", 3));

    const TID3v1Tag empty = BuildCutTag(bare, TTagMode::Always, {}, 1252);
    EXPECT_EQ(Field(empty.Marker, 3), "TAG");
    EXPECT_EQ(Field(empty.Title, 30), Padded("", 30));
    EXPECT_EQ(empty.Track, 0);
    EXPECT_EQ(empty.Genre, 255);

    TTagEdits edits;
    edits.Title = "New";
    const TID3v1Tag implied = BuildCutTag(bare, TTagMode::FromSource, edits, 1252);
    EXPECT_EQ(Field(implied.Marker, 3), "TAG"); // a changed field asks for a tag
    EXPECT_EQ(Field(implied.Title, 30), Padded("New", 30));
}

TEST(BuildCutTag, EditsAreConvertedAndCut)
{
    TTagEdits edits;
    edits.Artist = "Zoë Ænima";
    edits.Album = std::string(40, 'x');
    edits.Year = "2024-05";
    edits.Genre = 255;
    const TID3v1Tag t = BuildCutTag(SourceWithTag(), TTagMode::FromSource, edits, 1252);
    EXPECT_EQ(Field(t.Title, 30), Padded("Song", 30)); // untouched field kept
    EXPECT_EQ(Field(t.Artist, 30), Padded("Zo\xEB \xC6nima", 30));
    EXPECT_EQ(Field(t.Album, 30), std::string(30, 'x'));
    EXPECT_EQ(Field(t.Year, 4), "2024");
    EXPECT_EQ(t.Genre, 255);

    // In Shift JIS a 30-byte field holds 15 two-byte characters, and a
    // 31-byte text is not split inside its last character.
    TTagEdits japanese;
    japanese.Title = "a" + std::string("あいうえおかきくけこさしすせそ");
    const TID3v1Tag j = BuildCutTag({}, TTagMode::Always, japanese, 932);
    EXPECT_EQ(std::strlen(std::string(j.Title, 30).c_str()), 29u);
}

TEST(BuildCutTag, TrackNumberShortensTheComment)
{
    TTagEdits edits;
    edits.Track = 12;
    const TID3v1Tag t = BuildCutTag(SourceWithTag(), TTagMode::FromSource, edits, 1252);
    EXPECT_EQ(t.Track, 12);
    EXPECT_EQ(Field(t.Comment, 30), Padded("1234567890123456789012345678", 30));

    for (int outside : {0, 256, -3}) {
        edits.Track = outside;
        EXPECT_EQ(BuildCutTag(SourceWithTag(), TTagMode::FromSource, edits, 1252).Track, 0) << outside;
    }
}
