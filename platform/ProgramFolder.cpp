#include "platform/ProgramFolder.h"

#include <filesystem>
#include <system_error>

namespace vivizu {

namespace {
std::string& Folder() {
    static std::string folder;
    return folder;
}
} // namespace

std::string FolderHolding(const std::string& exeFolder, const std::string& probe,
                          const std::string& installed) {
    namespace fs = std::filesystem;
    const std::string folder = WithTrailingSlash(exeFolder);
    std::error_code error;
    if (fs::exists(folder + probe, error))
        return folder;
    const fs::path other = (fs::path(folder) / ".." / installed).lexically_normal();
    if (fs::exists(other / probe, error))
        return WithTrailingSlash(other.string());
    return folder;
}

std::string DataFolderFor(const std::string& exeFolder) {
    return FolderHolding(exeFolder, "Languages", "share/vivizu");
}

std::string WithTrailingSlash(std::string path) {
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

std::string ExecutableFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && exe.has_parent_path())
        return WithTrailingSlash(exe.parent_path().string());
    const auto current = std::filesystem::current_path(error);
    return WithTrailingSlash(error ? std::string(".") : current.string());
}

const std::string& ProgramFolder() { return Folder(); }

void SetProgramFolder(std::string folder) { Folder() = WithTrailingSlash(std::move(folder)); }

} // namespace vivizu
