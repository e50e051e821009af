#pragma once
// The program's command line: "vivizu [FILE]". The first file named is
// opened at start; any further ones are ignored. "--help" and "--version"
// answer on standard output; "--" ends the options, so that a file whose
// name starts with "-" can be named.
#include <QString>
#include <QStringList>

namespace vivizu {

struct TCommandLine {
    enum TAction { Run, Help, Version, Wrong };
    TAction Action = Run;
    // The file to open at start, as an absolute path; empty for none.
    QString File;
    // For Wrong: what was wrong, for the error output.
    QString Problem;
};

// Reads the arguments after the program's name (Qt's own options already
// taken out). Relative names are taken from currentFolder; a "file://" URL
// stands for its local file.
TCommandLine ReadCommandLine(const QStringList& arguments, const QString& currentFolder);

// The usage text of --help.
QString CommandLineUsage();

} // namespace vivizu
