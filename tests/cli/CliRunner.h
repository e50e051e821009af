#pragma once
// Runs the built vivizu-cli and collects what it printed and its exit code.
// The files it works on are built and kept with the engine tests' helpers.
#include "tests/engine/Mp3Bytes.h"

#include <string>
#include <utility>
#include <vector>

namespace clitest {

struct TRun {
    int Exit = -1;
    std::string Out;
    std::string Err;
};

// Runs vivizu-cli with args; env entries are set in its environment first
// ("LANG", "ru_RU.UTF-8"). LC_ALL and LC_CTYPE are always cleared. A
// fileSizeLimit of 0 or more limits the size of files it writes (bytes).
// A stdoutPath sends its standard output there instead of collecting it.
TRun RunCli(const std::vector<std::string>& args,
            const std::vector<std::pair<std::string, std::string>>& env = {},
            long fileSizeLimit = -1, const std::string& stdoutPath = {});

// Starts vivizu-cli with args, its output going nowhere, and returns at once.
int StartCli(const std::vector<std::string>& args);
// Waits for a started vivizu-cli; its exit code, or 128 + the signal that
// ended it.
int WaitCli(int pid);

// What a shell command printed on stdout and stderr together.
std::string ShellOutput(const std::string& command);
// True when tool is on the PATH.
bool HaveTool(const char* tool);
// A sox sine (synth's words: "20 sine 300-1200") encoded by LAME twice,
// at -V 2 as DIR/vbr.mp3 and at cbrKbps as DIR/cbr.mp3, the same bytes in
// every run (sox's dither seeded alike); false when either step failed.
bool EncodeSweep(const std::string& dir, const std::string& synth, int cbrKbps);
// What ffmpeg (warnings and errors) and libmpg123 (mpg123 -t) say about
// decoding file: empty for a clean decode.
std::string DecoderComplaints(const std::string& file);
// The play time of file as ffmpeg decodes it, 16-bit stereo at 44.1 kHz,
// in seconds.
double DecodedSeconds(const std::string& file);

} // namespace clitest
