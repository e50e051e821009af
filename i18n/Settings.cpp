#include "i18n/Settings.h"

#include "platform/Ini.h"
#include "platform/ProgramFolder.h"
#include "platform/SmallFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace vivizu {

namespace fs = std::filesystem;

namespace {

bool FolderWritable(const std::string& folder) {
    return access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

// The settings file's lines; an empty file when it does not exist yet. A
// file that is not read (not a regular file, too large, unreadable) is not
// replaced either.
TIniFile LoadForUpdate(const std::string& path) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (!fs::exists(status))
        return {};
    errno = 0;
    const TSmallFileRead read = ReadSmallFile(path, SettingsFileLimit);
    if (!read.Text) {
        const int code = fs::is_directory(status) ? EISDIR
                         : !read.Refusal.empty()  ? (fs::is_regular_file(status) ? EFBIG : EINVAL)
                                                  : (errno ? errno : EIO);
        throw std::system_error(code, std::generic_category(), "Cannot read file \"" + path + "\"");
    }
    return TIniFile::FromText(*read.Text);
}

} // namespace

std::string UserSettingsFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return WithTrailingSlash(config) + "vivizu/";
    const char* home = std::getenv("HOME");
    if (home && *home)
        return WithTrailingSlash(home) + ".config/vivizu/";
    // No HOME (a program started with an empty environment): the user
    // database's home folder, never the current folder.
    const passwd* user = getpwuid(getuid());
    if (user && user->pw_dir && user->pw_dir[0] == '/')
        return WithTrailingSlash(user->pw_dir) + ".config/vivizu/";
    return {};
}

std::string SettingsFileFor(const std::string& programFolder, bool programFolderWritable) {
    const std::string beside = programFolder + SettingsFileName;
    std::error_code error;
    if (programFolderWritable || fs::exists(beside, error))
        return beside;
    const std::string folder = UserSettingsFolder();
    return folder.empty() ? std::string() : folder + SettingsFileName;
}

std::string SettingsFilePath() {
    return SettingsFileFor(ProgramFolder(), FolderWritable(ProgramFolder()));
}

TIniFile& SettingsInMemory() {
    static TIniFile settings;
    static bool said = false;
    if (!said) {
        said = true;
        std::fprintf(stderr, "vivizu: there is no home folder to keep the settings in; "
                             "they are kept in memory until the program ends\n");
    }
    return settings;
}

TIniFile LoadSettings() {
    const std::string path = SettingsFilePath();
    if (path.empty())
        return SettingsInMemory();
    return TIniFile::FromText(
        ReadSmallFileOrSay(path, SettingsFileLimit, "settings file").value_or(std::string()));
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
    if (path.empty()) {
        for (const auto& [key, value] : values)
            SettingsInMemory().WriteString(section, key, value);
        return;
    }
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
