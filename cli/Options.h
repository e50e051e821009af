#pragma once
// Command-line options of the vivizu-cli commands, read by the system's
// getopt_long for all of them alike: an option's value is never taken for an
// option ("--title -h" is a title), "--name=value" and "--name value" both
// work, options may come before or after the operands, "--" ends the options,
// and an unknown option or a missing value is a usage error.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace vivizu {

// Option Ids begin here, above every letter of a short option.
inline constexpr int FirstOptionId = 256;

struct TOptionDef {
    const char* Name;   // the long name, without "--"
    bool HasValue;
    int Id;             // what ParseOptions reports for it; FirstOptionId or more
    char Short = 0;     // a one-letter form ('h' for -h), or 0
    // The value may be left out; given, it must be joined: "--name=value".
    bool OptionalValue = false;
};

struct TParsedOptions {
    std::vector<std::pair<int, std::string>> Options; // Id and value, in order
    std::vector<std::string> Operands;

    bool Has(int id) const;
};

// A decimal number such as "-4.5" or "3", the whole text; nothing otherwise.
std::optional<double> ParseDecimal(const std::string& text);

// A length given as a bare whole number below 100 is read as milliseconds,
// which is seldom what was meant ("--fade-in 2"): the note that says what
// was understood and how to write seconds; empty for any other value.
std::string BareMillisecondsNote(const std::string& option, const std::string& value);

// Says the note of BareMillisecondsNote on stderr, when there is one.
void NoteBareMilliseconds(const std::string& option, const std::string& value);

// The volume options of cut, split and join alike: --gain DB as whole steps of
// 1.5 dB (at most MaxGainDb either way), and a fade's length as a time in
// milliseconds. The text of the usage error, or nothing with the value set.
std::optional<std::string> ParseGainOption(const std::string& value, int& steps);
std::optional<std::string> ParseFadeOption(const std::string& option, const std::string& value, int32_t& ms);
// --normalize[=LUFS] of cut, split and join: the loudness target from -70 to
// 0 LUFS, the default target when value is empty.
std::optional<std::string> ParseNormalizeOption(const std::string& value, std::optional<double>& lufs);

// Reads args (the words after the command's name). Returns the text of a
// usage error, or nothing when args could be read.
std::optional<std::string> ParseOptions(const std::vector<std::string>& args,
                                        std::span<const TOptionDef> defs, TParsedOptions& parsed);

} // namespace vivizu
