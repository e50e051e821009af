#pragma once
// Makes writes fail as on a full disk: while a TFileSizeLimit is held, no
// file this process writes may grow past the given size (a write beyond it
// fails with EFBIG), and SIGXFSZ, which such a write would raise, is ignored,
// as the program itself ignores it. Restore() or the end of its scope puts
// the earlier limit and signal handling back.
#include <csignal>
#include <sys/resource.h>

namespace vivizu::test {

class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        FHeld = getrlimit(RLIMIT_FSIZE, &FSaved) == 0;
        FPrevious = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = FSaved;
        small.rlim_cur = bytes;
        FHeld = setrlimit(RLIMIT_FSIZE, &small) == 0 && FHeld;
    }
    ~TFileSizeLimit() { Restore(); }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

    // Whether the limit could be read and set.
    bool Held() const { return FHeld; }

    void Restore()
    {
        if (FRestored)
            return;
        FRestored = true;
        setrlimit(RLIMIT_FSIZE, &FSaved);
        std::signal(SIGXFSZ, FPrevious);
    }

private:
    rlimit FSaved{};
    void (*FPrevious)(int) = nullptr;
    bool FHeld = false;
    bool FRestored = false;
};

} // namespace vivizu::test
