#include "request/RunOutputs.h"

#include "engine/io/SameFile.h"

#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace vivizu {
namespace fs = std::filesystem;

std::string PathKey(const std::string& path)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error).lexically_normal();
    if (error)
        return path;
    fs::path folder = absolute.parent_path();
    const fs::path canonical = fs::canonical(folder, error);
    if (!error)
        folder = canonical;
    return (folder / absolute.filename()).string();
}

namespace {

// The run's inputs as the file system knows them, for telling whether an
// output is one of them.
class TInputFiles {
public:
    explicit TInputFiles(const std::vector<std::string>& inputs) : FNames(inputs)
    {
        for (const std::string& name : inputs) {
            struct stat st {};
            FStats.push_back(stat(name.c_str(), &st) == 0 ? std::optional<struct stat>(st) : std::nullopt);
        }
    }

    // The index of the input that path is, or none. Same device and inode
    // decide at once; where a file system gives one file several inodes
    // the fuller comparison decides, for inputs of the output's size only.
    std::optional<size_t> Find(const std::string& path) const
    {
        struct stat out {};
        if (stat(path.c_str(), &out) != 0)
            return std::nullopt; // a new file is no input
        for (size_t i = 0; i < FStats.size(); ++i)
            if (FStats[i] && FStats[i]->st_dev == out.st_dev && FStats[i]->st_ino == out.st_ino)
                return i;
        for (size_t i = 0; i < FStats.size(); ++i)
            if (FStats[i] && FStats[i]->st_size == out.st_size && AreSameFile(FNames[i], path))
                return i;
        return std::nullopt;
    }

private:
    const std::vector<std::string>& FNames;
    std::vector<std::optional<struct stat>> FStats;
};

} // namespace

TRunCheck CheckRunOutputs(const std::vector<std::string>& inputs, const std::vector<TRunOutput>& outputs, bool force)
{
    TRunCheck check;
    check.Declined.resize(inputs.size());
    const TInputFiles files(inputs);
    std::map<std::string, const TRunOutput*> byKey;
    for (const TRunOutput& output : outputs) {
        if (const auto input = files.Find(output.Path)) {
            check.Refused = output.Path + ": is " +
                            (inputs.size() == 1 ? std::string("the input file") : "the input " + inputs[*input]) +
                            "; the " + output.What + " would replace it";
            return check;
        }
        const auto [at, added] = byKey.emplace(PathKey(output.Path), &output);
        if (!added) {
            const TRunOutput& first = *at->second;
            check.Refused = output.Path + " would be written twice: as the " + first.What +
                            (first.Input != output.Input ? " of " + inputs[first.Input] : std::string()) +
                            " and as the " + output.What +
                            (first.Input != output.Input ? " of " + inputs[output.Input] : std::string());
            return check;
        }
    }
    if (!force)
        for (const TRunOutput& output : outputs) {
            struct stat st {};
            if (check.Declined[output.Input].empty() && lstat(output.Path.c_str(), &st) == 0)
                check.Declined[output.Input] = output.Path + ": exists already; --force replaces it";
        }
    return check;
}

} // namespace vivizu
