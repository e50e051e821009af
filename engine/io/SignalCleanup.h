#pragma once
// Temporary files that a signal ending the process must not leave behind.
// An output is written to a hidden file beside its destination and renamed
// over it when complete; Ctrl-C, SIGTERM or SIGHUP during a long cut would
// otherwise leave that file (up to the size of the cut) on the user's disk.
//
// A program calls InstallSignalCleanup once at start. TOutputFile registers
// its temporary file for as long as it exists; on every signal whose default
// action ends the process (SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGALRM, ...)
// the handler removes every registered file and then ends the process by the
// same signal, as it would have ended without the handler. Signals the
// program ignores (SIGHUP under nohup) stay ignored. SIGKILL cannot be
// caught: TOutputFile removes what such an end left behind (FileStream.h).
#include <csignal>

namespace vivizu {

// Installs the handler; harmless when called again.
void InstallSignalCleanup();

// Registers path (copied; at most 4095 bytes) for removal by the handler: a
// file, or an empty folder (removed after the files, so a folder whose files
// are registered too goes with them).
// Returns the slot to give to UnregisterTempFile, or -1 when the path is too
// long or every slot is taken (then the file is not cleaned up by a signal).
int RegisterTempFile(const char* path);
void UnregisterTempFile(int slot);

// Holds back the cleanup signals on the calling thread while it lives, so
// that creating a file and registering it happen as one step.
class TCleanupSignalsBlocked {
public:
    TCleanupSignalsBlocked();
    ~TCleanupSignalsBlocked();
    TCleanupSignalsBlocked(const TCleanupSignalsBlocked&) = delete;
    TCleanupSignalsBlocked& operator=(const TCleanupSignalsBlocked&) = delete;

private:
    sigset_t FSaved;
};

} // namespace vivizu
