#pragma once
// The settings file "Vivizu.ini": an INI file kept beside the program, or in
// the user's settings folder when the program's folder cannot be written.
#include "platform/Ini.h"

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vivizu {

// The settings file's name.
inline constexpr const char* SettingsFileName = "Vivizu.ini";
// A settings file larger than this is not read (a line on stderr says so).
inline constexpr std::size_t SettingsFileLimit = 1024 * 1024;

// The user's settings folder for the program: $XDG_CONFIG_HOME/vivizu/, or
// ~/.config/vivizu/ when XDG_CONFIG_HOME is unset or not an absolute path,
// the home folder being $HOME or, without HOME, the user database's. Ends in
// "/"; empty when there is no home folder.
std::string UserSettingsFolder();

// Where the settings file of a program in programFolder lives: beside the
// program whenever the file is there or the folder can be written (a
// portable copy keeps its settings with itself), otherwise in the user's
// settings folder. Empty when that is needed and there is none: the settings
// are then kept in memory for as long as the process runs (SettingsInMemory).
std::string SettingsFileFor(const std::string& programFolder, bool programFolderWritable);

// The settings file of this program: SettingsFileFor(ProgramFolder(), ...).
std::string SettingsFilePath();

// The settings of a process that has no settings file, read and written by
// the functions below instead of a file; its first use says so on stderr.
TIniFile& SettingsInMemory();

// One value of the settings file; nothing when the file, the section or
// the key is missing or the file cannot be read.
std::optional<std::string> ReadSetting(const std::string& section, const std::string& key);

// The whole settings file, for reading several values with one read; empty
// when it is missing or cannot be read, and when it is not a regular file or
// larger than SettingsFileLimit (then with a line on stderr).
TIniFile LoadSettings();

// Sets one value in the settings file, creating the file (and the user's
// settings folder) when needed and keeping every other line of it. Throws
// std::system_error naming the file when it cannot be read or written; a
// file that exists but cannot be read is left alone.
void WriteSetting(const std::string& section, const std::string& key, const std::string& value);
// The same for several keys of one section, with one read and one write.
void WriteSettings(const std::string& section,
                   const std::vector<std::pair<std::string, std::string>>& values);

} // namespace vivizu
