#include "editor/ResultFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vivizu {

QString ResultFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo info(runtime);
    if (!runtime.isEmpty() && info.isDir() && info.isWritable())
        return runtime;
    return QDir::tempPath();
}

TResultFile::TResultFile() : FDir(ResultFolder() + QStringLiteral("/vivizu-result-XXXXXX")) {}

std::string TResultFile::Path() const
{
    return QFile::encodeName(FDir.filePath(QStringLiteral("result.mp3"))).toStdString();
}

} // namespace vivizu
