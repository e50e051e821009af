#pragma once
// Where the result of a save is written for listening to it: a private
// folder of its own in $XDG_RUNTIME_DIR (kept in memory on most systems) or
// else the system's temporary folder, removed with what it holds when the
// object goes.
#include <QTemporaryDir>
#include <string>

namespace vivizu {

// The folder and the file are registered for removal by a signal that ends
// the program while they exist; what a harder end (SIGKILL, a power cut)
// leaves is removed by RemoveStaleResults at the next start.
class TResultFile {
public:
    TResultFile();
    ~TResultFile();
    TResultFile(const TResultFile&) = delete;
    TResultFile& operator=(const TResultFile&) = delete;

    // False when the folder could not be made; Reason() then says why.
    bool Valid() const { return FDir.isValid(); }
    QString Reason() const { return FDir.errorString(); }
    // The file's path inside the folder (it does not exist until written).
    std::string Path() const;

private:
    QTemporaryDir FDir;
    int FDirSlot = -1, FFileSlot = -1;
};

// Removes the result folders that processes which have ended left behind
// (their names carry the process number); returns how many it removed.
int RemoveStaleResults();

// The folder the result files are made in: $XDG_RUNTIME_DIR when it names a
// writable folder, else the system's temporary folder.
QString ResultFolder();

} // namespace vivizu
