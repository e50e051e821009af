// vivizu-cli play FILE [START [END]]: plays a range of FILE through the
// desktop's default audio output, showing the position as it goes. Built
// only with preview support; without it the dispatcher refuses the command.
#if VIVIZU_HAVE_MEDIA
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/Options.h"
#include "engine/TimeText.h"
#include "engine/RoruvoMp3.h"
#include "platform/LazyMediaDevice.h"

#include <chrono>
#include <csignal>
#include <exception>
#include <iostream>
#include <optional>
#include <thread>
#include <unistd.h>

namespace vivizu {
namespace {

constexpr int ExitInterrupted = 130; // the shell's code for a stop by Ctrl-C

volatile std::sig_atomic_t Interrupted = 0;

extern "C" void OnInterrupt(int)
{
    Interrupted = 1;
}

// Catches Ctrl-C (and a polite kill) while it lives, so that playback is
// stopped through the engine instead of the process dying mid-buffer.
class TInterruptGuard {
public:
    TInterruptGuard()
    {
        Interrupted = 0;
        struct sigaction action {};
        action.sa_handler = &OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &FOldInt);
        sigaction(SIGTERM, &action, &FOldTerm);
    }
    ~TInterruptGuard()
    {
        sigaction(SIGINT, &FOldInt, nullptr);
        sigaction(SIGTERM, &FOldTerm, nullptr);
    }
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

private:
    struct sigaction FOldInt {};
    struct sigaction FOldTerm {};
};

void PrintPlayUsage(std::ostream& out)
{
    out << "Usage: vivizu-cli play FILE [START [END]]\n"
           "\n"
           "Plays FILE from START (default the beginning) to END (default the end\n"
           "of the stream) through the default audio output, showing the position\n"
           "on one line. START and END are whole milliseconds (61500) or times such\n"
           "as 1:02:03.004, 2:03.5 or 03.004. Ctrl-C stops playback.\n"
           "\n"
           "Exit codes: 0 played to END; 1 not an MP3 stream, or nothing to play\n"
           "in the range; 2 wrong usage; 3 the file or the audio output could not\n"
           "be opened; 130 stopped by Ctrl-C.\n";
}

std::string PositionLine(int64_t ms, int64_t endMs)
{
    return FormatTimeText(ms) + " / " + FormatTimeText(endMs);
}

} // namespace

int RunPlay(const std::vector<std::string>& args)
{
    enum : int { OptHelp = FirstOptionId };
    constexpr TOptionDef defs[] = {{"help", false, OptHelp, 'h'}};
    TParsedOptions parsed;
    if (const auto error = ParseOptions(args, defs, parsed)) return UsageError("play: " + *error);
    if (parsed.Has(OptHelp)) {
        PrintPlayUsage(std::cout);
        return ExitOk;
    }
    const std::vector<std::string>& operands = parsed.Operands;
    if (operands.empty() || operands.size() > 3)
        return UsageError("play: expects FILE [START [END]]");
    const std::string& file = operands[0];
    int64_t startMs = 0;
    std::optional<int64_t> endMs;
    if (operands.size() > 1) {
        const auto start = ParseTimeText(operands[1]);
        if (!start) return UsageError("play: START is not a time: '" + operands[1] + "'");
        startMs = *start;
    }
    if (operands.size() > 2) {
        endMs = ParseTimeText(operands[2]);
        if (!endMs) return UsageError("play: END is not a time: '" + operands[2] + "'");
        if (*endMs <= startMs) return UsageError("play: END must come after START");
    }

    TRoruvoMP3 mp3({}, LoadMediaDevice());
    try {
        mp3.LoadFile(file);
    } catch (const std::exception& e) {
        PrintError(e.what());
        return ExitIoError;
    }
    if (!mp3.Valid) {
        PrintError(file + ": not an MP3 stream");
        return ExitDeclined;
    }
    const int64_t end = endMs.value_or(mp3.Info.LengthMs);

    TInterruptGuard guard;
    try {
        if (!mp3.PlayRange(startMs, end)) {
            PrintError("play: nothing to play from " + FormatTimeText(startMs) + " to " +
                       FormatTimeText(end) + " (the stream lasts " +
                       FormatTimeText(mp3.Info.LengthMs) + ")");
            return ExitDeclined;
        }
    } catch (const TMediaError& e) {
        PrintError(std::string("play: cannot open the audio output: ") + e.what());
        return ExitIoError;
    }

    // On a terminal the position line is rewritten in place; elsewhere only
    // the final position is written.
    const bool live = isatty(STDOUT_FILENO) == 1;
    int64_t shown = startMs;
    while (!mp3.IsStopped() && !Interrupted) {
        if (const int64_t position = mp3.PlayPosition(); position >= 0)
            shown = position;
        if (live) std::cout << '\r' << PositionLine(shown, end) << std::flush;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const bool stoppedByUser = Interrupted != 0;
    if (!stoppedByUser)
        shown = std::min(end, mp3.Info.LengthMs);
    mp3.StopPlaying();
    std::cout << (live ? "\r" : "") << PositionLine(shown, end)
              << (stoppedByUser ? "  stopped\n" : "\n") << std::flush;
    return stoppedByUser ? ExitInterrupted : ExitOk;
}

} // namespace vivizu

#endif // VIVIZU_HAVE_MEDIA
