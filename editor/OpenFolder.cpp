#include "editor/OpenFolder.h"

#include "i18n/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <exception>

namespace vivizu {

namespace {

const char* const Section = "FILES";
const char* const Key = "LastFolder";

} // namespace

QString OpenDialogFolder() {
    const auto kept = ReadSetting(Section, Key);
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
        // Quoted, so that blanks at either end of the name are kept.
        WriteSetting(Section, Key, '"' + folder + '"');
    } catch (const std::exception&) {
        // Only the dialog's starting folder is lost.
    }
}

} // namespace vivizu
