// vivizu-cli: analyse an MP3 file, cut a piece of it, join files or measure
// its sound from the command line.
#include "cli/Commands.h"
#include "cli/Console.h"
#include "engine/io/SignalCleanup.h"

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace vivizu;
    // A write past the file size limit then fails with an error that the cut
    // reports, removing its unfinished output, instead of ending the process
    // and leaving that output behind.
    std::signal(SIGXFSZ, SIG_IGN);
    // Ctrl-C, SIGTERM or SIGHUP during a cut remove its unfinished output.
    InstallSignalCleanup();
    if (argc < 2) {
        PrintUsage(std::cerr);
        return ExitUsage;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);

    if (command == "--help" || command == "-h" || command == "help") {
        PrintUsage(std::cout);
        return ExitOk;
    }
    if (command == "info") return RunInfo(args);
    if (command == "cut") return RunCut(args);
    if (command == "loudness") return RunLoudness(args);
    if (command == "peaks") return RunPeaks(args);
    if (command == "split") return RunSplit(args);
    if (command == "join") return RunJoin(args);
    if (command == "play") {
#if VIVIZU_HAVE_MEDIA
        return RunPlay(args);
#else
        PrintError("play: preview is not built into this vivizu-cli (configured without media support)");
        return ExitUsage;
#endif
    }
    return UsageError("unknown command '" + command + "'");
}
