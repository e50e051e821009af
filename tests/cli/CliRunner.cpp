#include "CliRunner.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vivizu::test;

namespace clitest {
namespace {

// Starts vivizu-cli with args in a child process, which first runs inChild
// (to set up its environment and output; it calls _exit(127) on failure).
// The command line is built before the fork, so the child only execs.
pid_t ForkCli(const std::vector<std::string>& args, const std::function<void()>& inChild)
{
    std::vector<std::string> argv{VIVIZU_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        inChild();
        execv(cargv[0], cargv.data());
        _exit(127);
    }
    return pid;
}

} // namespace

TRun RunCli(const std::vector<std::string>& args,
            const std::vector<std::pair<std::string, std::string>>& env, long fileSizeLimit,
            const std::string& stdoutPath)
{
    const TempDir capture;
    const std::string outPath = capture / "out", errPath = capture / "err";

    const pid_t pid = ForkCli(args, [&] {
        unsetenv("LC_ALL");
        unsetenv("LC_CTYPE");
        for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
        const int out = stdoutPath.empty() ? open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)
                                           : open(stdoutPath.c_str(), O_WRONLY);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
        if (fileSizeLimit >= 0) {
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
        }
    });
    TRun run;
    run.Exit = WaitCli(pid);
    const Bytes out = stdoutPath.empty() ? ReadAll(outPath) : Bytes{}, err = ReadAll(errPath);
    run.Out.assign(out.begin(), out.end());
    run.Err.assign(err.begin(), err.end());
    return run;
}

int StartCli(const std::vector<std::string>& args)
{
    return ForkCli(args, [] {
        const int null = open("/dev/null", O_WRONLY);
        if (null < 0 || dup2(null, 1) < 0 || dup2(null, 2) < 0) _exit(127);
    });
}

int WaitCli(int pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ShellOutput(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

bool HaveTool(const char* tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

bool EncodeSweep(const std::string& dir, const std::string& synth, int cbrKbps)
{
    const std::string wav = dir + "/s.wav";
    return std::system(("sox -q -R -n -r 44100 -c 2 -b 16 '" + wav + "' synth " + synth + " vol 0.4 && lame --quiet -V 2 '" +
                        wav + "' '" + dir + "/vbr.mp3' && lame --quiet -b " + std::to_string(cbrKbps) + " '" + wav +
                        "' '" + dir + "/cbr.mp3'")
                           .c_str()) == 0;
}

std::string DecoderComplaints(const std::string& file)
{
    std::string said = ShellOutput("ffmpeg -nostdin -v info -i '" + file + "' -f null - 2>&1 | grep -i -E "
                                   "'overread|invalid|error|backstep|warn' | grep -v 'Estimating duration'");
    said += ShellOutput("mpg123 -q -t '" + file + "'");
    return said;
}

double DecodedSeconds(const std::string& file)
{
    return std::atof(ShellOutput("ffmpeg -nostdin -v error -i '" + file + "' -f s16le - | wc -c").c_str()) / 4 / 44100;
}

} // namespace clitest
