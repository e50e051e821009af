#pragma once
// Messages and exit codes shared by the vivizu-cli commands.
#include "operations/Json.h"
#include "operations/Report.h"

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

// The exit code of an outcome, of an engine's status, and back.
int ExitOf(TOutcome outcome);
int ExitOf(TCutStatus status);
TOutcome OutcomeOfExit(int code);

// "vivizu-cli: message" on stderr.
void PrintError(std::string_view message);

// Prints the message and a hint to --help on stderr; returns ExitUsage.
int UsageError(std::string_view message);

} // namespace vivizu
