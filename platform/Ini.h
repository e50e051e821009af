#pragma once
// INI files: "[Section]" lines followed by "Key=Value" lines. Section and
// key names match without regard to case (ASCII), a line splits at its
// first "=", blanks around names and values are dropped, and sections and
// keys keep their file order. The file's lines are kept as they are, so
// writing one value leaves every other line (comments included) alone.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vivizu {

struct TIniEntry {
    std::string Key;
    std::string Value;
};

class TIniFile {
public:
    TIniFile() = default;
    // The text of a file: "\n" or "\r\n" line ends, an optional UTF-8 BOM.
    static TIniFile FromText(std::string_view text);
    // Reads a file; a missing or unreadable file gives an empty one.
    static TIniFile Load(const std::string& path);

    // The value of the first line of that key in the first section of that
    // name; a value wrapped in a pair of matching quotes loses them.
    std::optional<std::string> ReadString(std::string_view section,
                                          std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // The key's value read by ParseInteger; fallback when the key is
    // missing or its value is not a whole number.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // Every "Key=Value" line of the first section of that name, in file
    // order, duplicates included. Lines without "=" are skipped.
    std::vector<TIniEntry> ReadSection(std::string_view section) const;
    std::vector<std::string> SectionNames() const;

    // Replaces the value of the key's first line, or adds the key at the
    // end of the section, or adds the section at the end of the file.
    void WriteString(std::string_view section, std::string_view key,
                     std::string_view value);
    std::string ToText() const;
    // Writes through a temporary file in the same folder and renames it, so
    // a failed write never leaves a half-written file behind. Throws
    // std::system_error whose text names the file.
    void Save(const std::string& path) const;

private:
    // Index range [first, last) of a section's body lines; first is npos
    // when the section does not exist.
    struct TRange {
        std::size_t Header;
        std::size_t First;
        std::size_t Last;
    };
    std::optional<TRange> FindSection(std::string_view section) const;

    std::vector<std::string> FLines;
    std::string FLineEnd = "\n";
};

// A whole number as INI values and property texts write it: an optional
// sign, then decimal digits or hexadecimal digits after "$" or "0x". Nothing
// for any other text or a number outside the 32-bit signed range.
std::optional<int> ParseInteger(std::string_view text);

// Blanks (space, tab) and control characters removed from both ends.
std::string_view TrimBlanks(std::string_view text);
// ASCII case-insensitive equality.
bool SameText(std::string_view a, std::string_view b);

} // namespace vivizu
