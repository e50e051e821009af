#pragma once
// Why the engine declined a cut: the engine only answers yes or no, so the
// paths are looked at again to name the reason.
#include <string>

namespace vivizu {

// Why a cut from input to output was declined, as a message naming the
// path concerned and, where the system can tell, the system's reason.
std::string DeclineReason(const std::string& input, const std::string& output);

} // namespace vivizu
