#include "cli/OutputCheck.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vivizu {
namespace {

std::string ParentFolder(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// True when both paths name one existing file (the same device and inode,
// also through symbolic or hard links).
bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

std::string DeclineReason(const std::string& input, const std::string& output)
{
    struct stat st {};
    if (stat(input.c_str(), &st) != 0)
        return input + ": the input file is gone (" + std::strerror(errno) + "); nothing written";
    if (SameFile(input, output))
        return output + ": is the input file; it is not overwritten";

    std::string reason;
    const std::string folder = ParentFolder(output);
    if (stat(output.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) reason = std::strerror(EISDIR);
        else if (access(output.c_str(), W_OK) != 0) reason = std::strerror(errno);
    } else if (stat(folder.c_str(), &st) != 0)
        reason = folder + ": " + std::strerror(errno);
    else if (!S_ISDIR(st.st_mode))
        reason = folder + ": " + std::strerror(ENOTDIR);
    else if (access(folder.c_str(), W_OK | X_OK) != 0)
        reason = folder + ": " + std::strerror(errno);
    return output + ": the output file cannot be created" + (reason.empty() ? "" : " (" + reason + ")");
}

} // namespace vivizu
