#include "engine/io/SignalCleanup.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <pthread.h>
#include <unistd.h>

namespace vivizu {
namespace {

// Every signal whose default action ends the process (with or without a
// core dump), among them the real-time signals; not those that stop it or
// that are ignored by default.
constexpr int FixedCleanupSignals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,   SIGUSR1, SIGUSR2,
                                       SIGALRM, SIGPIPE, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ,
                                       SIGIO,   SIGPWR,  SIGSYS,  SIGTRAP,   SIGABRT, SIGBUS,
                                       SIGFPE,  SIGILL,  SIGSEGV, SIGSTKFLT};

template <class Each>
void ForEachCleanupSignal(const Each& each)
{
    for (int s : FixedCleanupSignals)
        each(s);
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s)
        each(s);
}

// Fixed storage that the handler can read without allocating or locking.
// A slot's path is written while the slot is Claimed and read by the handler
// only once it is Ready.
enum : int { Free = 0, Claimed = 1, Ready = 2 };
struct TSlot {
    std::atomic<int> State{Free};
    char Path[4096];
};
constexpr int SlotCount = 16;
std::array<TSlot, SlotCount> Slots;
std::atomic<bool> Installed{false};

extern "C" void OnCleanupSignal(int signal)
{
    const int savedErrno = errno;
    // Files first, then folders (a folder goes once the files in it are gone).
    for (TSlot& slot : Slots)
        if (slot.State.load(std::memory_order_acquire) == Ready)
            unlink(slot.Path);
    for (TSlot& slot : Slots)
        if (slot.State.load(std::memory_order_acquire) == Ready)
            rmdir(slot.Path);
    // End the process by the same signal: it is blocked while this handler
    // runs and is delivered with the default action once it returns.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    raise(signal);
    errno = savedErrno;
}

sigset_t CleanupSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    ForEachCleanupSignal([&](int s) { sigaddset(&set, s); });
    return set;
}

} // namespace

void InstallSignalCleanup()
{
    if (Installed.exchange(true))
        return;
    struct sigaction action {};
    action.sa_handler = &OnCleanupSignal;
    action.sa_mask = CleanupSignalSet();
    // Only where the default action is in force: a signal the program
    // ignores (SIGHUP under nohup, SIGXFSZ) stays ignored, and a handler
    // that a library installed is kept.
    ForEachCleanupSignal([&](int s) {
        struct sigaction old {};
        if (sigaction(s, nullptr, &old) == 0 && (old.sa_flags & SA_SIGINFO) == 0 && old.sa_handler == SIG_DFL)
            sigaction(s, &action, nullptr);
    });
}

int RegisterTempFile(const char* path)
{
    const size_t length = std::strlen(path);
    if (length >= sizeof(TSlot::Path))
        return -1;
    for (int i = 0; i < SlotCount; ++i) {
        int expected = Free;
        if (!Slots[i].State.compare_exchange_strong(expected, Claimed, std::memory_order_acquire))
            continue;
        std::memcpy(Slots[i].Path, path, length + 1);
        Slots[i].State.store(Ready, std::memory_order_release);
        return i;
    }
    return -1;
}

void UnregisterTempFile(int slot)
{
    if (slot >= 0 && slot < SlotCount)
        Slots[slot].State.store(Free, std::memory_order_release);
}

TCleanupSignalsBlocked::TCleanupSignalsBlocked()
{
    const sigset_t set = CleanupSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, &FSaved);
}

TCleanupSignalsBlocked::~TCleanupSignalsBlocked()
{
    pthread_sigmask(SIG_SETMASK, &FSaved, nullptr);
}

} // namespace vivizu
