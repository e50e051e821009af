#pragma once
// Messages and exit codes shared by the vivizu-cli commands.
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace vivizu {

// Exit codes of every command.
inline constexpr int ExitOk = 0;
inline constexpr int ExitDeclined = 1; // not an MP3 stream, or the cut was refused
inline constexpr int ExitUsage = 2;
inline constexpr int ExitIoError = 3;  // the file system raised an error

// The full help text.
void PrintUsage(std::ostream& out);

// s as a JSON string, quotes included; bytes that are not UTF-8 become
// U+FFFD, so that the output is always valid JSON.
std::string JsonString(std::string_view s);

// A file name as JSON members: "key": name, and where the name is not UTF-8
// (and so could not be given whole) also "key_hex": its bytes in hex, so
// that a caller can still find the file.
std::string JsonNameMembers(std::string_view key, std::string_view name);
// The same for a list of names: "key": [...], and "key_hex": [...] when any
// of them is not UTF-8.
std::string JsonNameListMembers(std::string_view key, const std::vector<std::string>& names);

// "vivizu-cli: message" on stderr.
void PrintError(std::string_view message);

// Prints the message and a hint to --help on stderr; returns ExitUsage.
int UsageError(std::string_view message);

} // namespace vivizu
