#pragma once
// Checks on the output path of a cut, made before the engine is asked and
// to explain why it declined.
#include <string>

namespace vivizu {

// True when both paths name one existing file (the same device and inode,
// also through symbolic or hard links).
bool SameFile(const std::string& a, const std::string& b);

// Why a cut from input to output was declined, as a message naming the
// path concerned and, where the system can tell, the system's reason.
std::string DeclineReason(const std::string& input, const std::string& output);

} // namespace vivizu
