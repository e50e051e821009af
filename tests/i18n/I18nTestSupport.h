#pragma once
// Helpers of the localisation tests: a scratch folder and readable texts.
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <unistd.h>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace vivizu::test {

// A folder of its own for one test, removed with it.
class TScratch {
public:
    TScratch() {
        static int count = 0;
        Path = (std::filesystem::temp_directory_path() /
                ("vivizu_i18n_" + std::to_string(getpid()) + "_" + std::to_string(++count)))
                   .string() + "/";
        std::filesystem::create_directories(Path);
    }
    ~TScratch() { std::filesystem::remove_all(Path); }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;

    // Writes a file below the folder and gives its full path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const auto path = std::filesystem::path(Path) / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(std::filesystem::path(Path) / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string Path;  // ends in "/"
};

} // namespace vivizu::test
