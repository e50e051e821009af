#pragma once
// Where the settings file lives.
#include <string>

namespace vivizu {

// The settings file "Vivizu.ini": in the program folder when the file is
// already there or the folder is writable (a portable copy keeps its
// settings beside itself), otherwise in the user's settings folder,
// $XDG_CONFIG_HOME/vivizu/Vivizu.ini (~/.config/vivizu/Vivizu.ini when
// XDG_CONFIG_HOME is unset, empty or not absolute). The folder of the
// returned path may not exist yet; whoever writes the file creates it.
std::string SettingsFilePath();

} // namespace vivizu
