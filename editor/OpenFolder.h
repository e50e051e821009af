#pragma once
// The folder the open dialog starts in, remembered across runs in the
// settings file.
#include <QString>

namespace vivizu {

// The folder of the file opened last, when it still exists; otherwise the
// user's music folder when there is one; otherwise empty (the dialog's own
// choice).
QString OpenDialogFolder();

// Remembers the folder of path (a file) for the next OpenDialogFolder, in
// this run and the next ones. A settings file that cannot be written only
// means the dialog starts elsewhere next time: nothing is reported.
void RememberOpenedFolder(const QString& path);

} // namespace vivizu
