#pragma once
// The program folder: the folder of the running executable, ending in "/".
// Every file kept beside the program (settings, language files, marker
// bitmaps) is named by appending a relative name to it.
#include <string>

namespace vivizu {

// The folder of the running executable (from /proc/self/exe), ending in
// "/"; the current folder when the executable's path cannot be read.
std::string ExecutableFolder();

// path with "/" appended unless it already ends in one.
std::string WithTrailingSlash(std::string path);

// The process-wide program folder: empty until SetProgramFolder, which the
// main window calls once as the first step of its creation.
const std::string& ProgramFolder();
void SetProgramFolder(std::string folder);

} // namespace vivizu
