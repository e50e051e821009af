#pragma once
// The subcommands of vivizu-cli. Each takes the arguments that follow its
// name and returns the process exit code.
#include <string>
#include <vector>

namespace vivizu {

int RunInfo(const std::vector<std::string>& args);
int RunCut(const std::vector<std::string>& args);
int RunLoudness(const std::vector<std::string>& args);
int RunPeaks(const std::vector<std::string>& args);
int RunSplit(const std::vector<std::string>& args);
int RunJoin(const std::vector<std::string>& args);
int RunPlay(const std::vector<std::string>& args); // built only with preview support

} // namespace vivizu
