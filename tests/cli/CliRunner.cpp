#include "CliRunner.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace clitest {

TRun RunCli(const std::vector<std::string>& args,
            const std::vector<std::pair<std::string, std::string>>& env, long fileSizeLimit)
{
    TTempDir capture;
    const std::string outPath = capture.Path("out"), errPath = capture.Path("err");

    std::vector<std::string> argv{VIVIZU_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        unsetenv("LC_ALL");
        unsetenv("LC_CTYPE");
        for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
        if (fileSizeLimit >= 0) {
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
        }
        execv(cargv[0], cargv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    TRun run;
    run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.Out = ReadFile(outPath);
    run.Err = ReadFile(errPath);
    return run;
}

TTempDir::TTempDir()
{
    std::string templ = (std::filesystem::temp_directory_path() / "vivizu-cli-XXXXXX").string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    FPath = templ;
}

TTempDir::~TTempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
}

std::string TTempDir::Write(const std::string& name, const std::string& bytes) const
{
    const std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace clitest
