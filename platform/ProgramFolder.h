#pragma once
// The program folder: the folder of the running executable, ending in "/".
// Every file kept beside the program (settings, language files, marker
// bitmaps) is named by appending a relative name to it.
#include <string>

namespace vivizu {

// The folder of the running executable (from /proc/self/exe), ending in
// "/"; the current folder when the executable's path cannot be read.
std::string ExecutableFolder();

// The folder that holds the program's files, for an executable in
// exeFolder: exeFolder itself when the files lie beside the executable (a
// portable copy, or the build folder), otherwise exeFolder/../share/vivizu
// when that exists (an installed copy: bin/ and share/vivizu/ under one
// prefix), otherwise exeFolder. Ends in "/".
std::string DataFolderFor(const std::string& exeFolder);
// The general rule: exeFolder when it holds probe, else
// exeFolder/../installed when that holds probe (as a plain path:
// "/usr/bin/../share/vivizu" gives "/usr/share/vivizu/"), else exeFolder.
// Ends in "/".
std::string FolderHolding(const std::string& exeFolder, const std::string& probe,
                          const std::string& installed);

// path with "/" appended unless it already ends in one.
std::string WithTrailingSlash(std::string path);

// The process-wide program folder: empty until SetProgramFolder, which the
// main window calls once as the first step of its creation.
const std::string& ProgramFolder();
void SetProgramFolder(std::string folder);

} // namespace vivizu
