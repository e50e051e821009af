#include "i18n/Settings.h"

#include "platform/Ini.h"
#include "platform/ProgramFolder.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace vivizu {

namespace fs = std::filesystem;

namespace {

bool FolderWritable(const std::string& folder) {
    return access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

// The settings file's lines; an empty file when it does not exist yet.
TIniFile LoadForUpdate(const std::string& path) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (!fs::exists(status))
        return {};
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in || !fs::is_regular_file(status))
        throw std::system_error(fs::is_directory(status) ? EISDIR : (errno ? errno : EIO),
                                std::generic_category(), "Cannot read file \"" + path + "\"");
    std::ostringstream text;
    text << in.rdbuf();
    return TIniFile::FromText(text.str());
}

} // namespace

std::string UserSettingsFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return WithTrailingSlash(config) + "vivizu/";
    const char* home = std::getenv("HOME");
    return WithTrailingSlash(home && *home ? home : ".") + ".config/vivizu/";
}

std::string SettingsFileFor(const std::string& programFolder, bool programFolderWritable) {
    const std::string beside = programFolder + SettingsFileName;
    std::error_code error;
    if (programFolderWritable || fs::exists(beside, error))
        return beside;
    return UserSettingsFolder() + SettingsFileName;
}

std::string SettingsFilePath() {
    return SettingsFileFor(ProgramFolder(), FolderWritable(ProgramFolder()));
}

TIniFile LoadSettings() {
    return TIniFile::Load(SettingsFilePath());
}

std::optional<std::string> ReadSetting(const std::string& section, const std::string& key) {
    return LoadSettings().ReadString(section, key);
}

void WriteSetting(const std::string& section, const std::string& key, const std::string& value) {
    WriteSettings(section, {{key, value}});
}

void WriteSettings(const std::string& section,
                   const std::vector<std::pair<std::string, std::string>>& values) {
    const std::string path = SettingsFilePath();
    TIniFile ini = LoadForUpdate(path);
    const fs::path folder = fs::path(path).parent_path();
    std::error_code error;
    if (!folder.empty() && !fs::exists(folder, error)) {
        fs::create_directories(folder, error);
        if (error)
            throw std::system_error(error, "Cannot write file \"" + path + "\"");
    }
    for (const auto& [key, value] : values)
        ini.WriteString(section, key, value);
    ini.Save(path);
}

} // namespace vivizu
