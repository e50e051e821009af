#include "i18n/Settings.h"

#include "platform/ProgramFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vivizu {

namespace {

const char* const SettingsFileName = "Vivizu.ini";

// The user's settings folder, ending in "/".
std::string UserConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return WithTrailingSlash(config);
    const char* home = std::getenv("HOME");
    return WithTrailingSlash(home && home[0] ? home : ".") + ".config/";
}

} // namespace

std::string SettingsFilePath() {
    const std::string& folder = ProgramFolder();
    const std::string beside = folder + SettingsFileName;
    std::error_code error;
    if (std::filesystem::exists(beside, error) || access(folder.c_str(), W_OK) == 0)
        return beside;
    return UserConfigFolder() + "vivizu/" + SettingsFileName;
}

} // namespace vivizu
