#include "editor/ResultFile.h"

#include "engine/io/SignalCleanup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace vivizu {

QString ResultFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo info(runtime);
    if (!runtime.isEmpty() && info.isDir() && info.isWritable())
        return runtime;
    return QDir::tempPath();
}

namespace {

const QString ResultPrefix = QStringLiteral("vivizu-result-");

} // namespace

// The process number in the name lets a later start tell a folder whose
// program has ended from one in use.
TResultFile::TResultFile()
    : FDir(ResultFolder() + QStringLiteral("/") + ResultPrefix + QString::number(getpid()) +
           QStringLiteral("-XXXXXX"))
{
    if (!FDir.isValid())
        return;
    TCleanupSignalsBlocked blocked;
    FDirSlot = RegisterTempFile(QFile::encodeName(FDir.path()).constData());
    FFileSlot = RegisterTempFile(Path().c_str());
}

TResultFile::~TResultFile()
{
    // The folder goes with FDir; the slots are let go first, so that a
    // signal meanwhile removes nothing of another's.
    UnregisterTempFile(FFileSlot);
    UnregisterTempFile(FDirSlot);
}

int RemoveStaleResults()
{
    int removed = 0;
    QDir folder(ResultFolder());
    const QStringList names =
        folder.entryList({ResultPrefix + QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& name : names) {
        // vivizu-result-PID-XXXXXX: only a folder of a process that is gone.
        const QStringList parts = name.mid(ResultPrefix.size()).split(QLatin1Char('-'));
        bool number = false;
        const qint64 pid = parts.size() == 2 ? parts[0].toLongLong(&number) : 0;
        if (!number || pid <= 0 || pid == getpid())
            continue;
        if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        const QFileInfo info(folder.filePath(name));
        if (info.isSymLink() || info.ownerId() != getuid())
            continue;
        if (QDir(info.filePath()).removeRecursively())
            ++removed;
    }
    return removed;
}

std::string TResultFile::Path() const
{
    return QFile::encodeName(FDir.filePath(QStringLiteral("result.mp3"))).toStdString();
}

} // namespace vivizu
