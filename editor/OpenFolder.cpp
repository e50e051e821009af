#include "editor/OpenFolder.h"

#include "i18n/Settings.h"
#include "platform/Ini.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <exception>
#include <filesystem>
#include <system_error>

namespace vivizu {

namespace {

const char* const Section = "FILES";
const char* const Key = "LastFolder";

} // namespace

QString OpenDialogFolder() {
    const auto kept = TIniFile::Load(SettingsFilePath()).ReadString(Section, Key);
    if (kept && !kept->empty()) {
        const QString folder = QFile::decodeName(QByteArray::fromStdString(*kept));
        if (QFileInfo(folder).isDir())
            return folder;
    }
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return !music.isEmpty() && QFileInfo(music).isDir() ? music : QString();
}

void RememberOpenedFolder(const QString& path) {
    const QFileInfo file(path);
    if (!file.dir().exists())
        return;
    const std::string folder = QFile::encodeName(file.absolutePath()).toStdString();
    // A line break would end the value early; such a folder is not kept.
    if (folder.find_first_of("\r\n") != std::string::npos)
        return;
    try {
        const std::string settings = SettingsFilePath();
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(settings).parent_path(), error);
        TIniFile ini = TIniFile::Load(settings);
        // Quoted, so that blanks at either end of the name are kept.
        ini.WriteString(Section, Key, '"' + folder + '"');
        ini.Save(settings);
    } catch (const std::exception&) {
        // Only the dialog's starting folder is lost.
    }
}

} // namespace vivizu
