#pragma once
// Reading the small text files the program keeps beside itself (settings,
// language files) without trusting what the path names: a named pipe would
// block the start for good, a link to /dev/zero or a huge file would fill
// the memory. Only a regular file of at most a given size is read.
#include <cstddef>
#include <optional>
#include <string>

namespace vivizu {

struct TSmallFileRead {
    // The file's bytes; nothing when the file is missing, unreadable, or
    // refused.
    std::optional<std::string> Text;
    // Why the file was refused ("not a regular file", "larger than 1 MB");
    // empty when it was read or is simply missing or unreadable.
    std::string Refusal;
};

// Reads path when it is a regular file (a symbolic link to one counts) of at
// most limit bytes.
TSmallFileRead ReadSmallFile(const std::string& path, std::size_t limit);

// ReadSmallFile, and for a refused file a line on stderr naming it, what it
// is for (kind, "settings file") and that it is ignored.
std::optional<std::string> ReadSmallFileOrSay(const std::string& path, std::size_t limit,
                                              const char* kind);

} // namespace vivizu
