#include "app/CommandLine.h"

#include <QDir>
#include <QUrl>

namespace vivizu {

TCommandLine ReadCommandLine(const QStringList& arguments, const QString& currentFolder) {
    TCommandLine result;
    bool options = true;
    for (const QString& argument : arguments) {
        if (options && argument == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (options && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            result.Action = TCommandLine::Help;
            return result;
        }
        if (options && argument == QLatin1String("--version")) {
            result.Action = TCommandLine::Version;
            return result;
        }
        if (options && argument.startsWith(u'-') && argument != QLatin1String("-")) {
            result.Action = TCommandLine::Wrong;
            result.Problem = QStringLiteral("unknown option '%1'").arg(argument);
            return result;
        }
        if (!result.File.isEmpty() || argument.isEmpty())
            continue;
        QString path = argument;
        if (argument.startsWith(QLatin1String("file://"))) {
            const QUrl url(argument);
            if (url.isLocalFile())
                path = url.toLocalFile();
        }
        // Made absolute without resolving links: the window shows the path
        // as the user named it, like one chosen in the open dialog.
        result.File = QDir::cleanPath(QDir(currentFolder).absoluteFilePath(path));
    }
    return result;
}

QString CommandLineUsage() {
    return QStringLiteral(
        "Usage: vivizu [FILE]\n"
        "Cuts a piece out of an MP3 file without re-encoding it.\n"
        "\n"
        "  FILE        an MP3 file to open at start (only the first one named)\n"
        "  --help      show this text and end\n"
        "  --version   show the program's version and end\n"
        "  --          take what follows as a file name, also when it starts with -\n");
}

} // namespace vivizu
