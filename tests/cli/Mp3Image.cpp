#include "Mp3Image.h"

namespace clitest {

std::string Frame(int n)
{
    std::string f("\xFF\xFB\x90\x64", 4);
    f.resize(FrameBytes, '\0');
    f[4] = static_cast<char>(n);
    return f;
}

std::string Frames(int first, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i) s += Frame(first + i);
    return s;
}

std::string Id3v1Tag(const std::string& title, const std::string& artist,
                     const std::string& album, const std::string& year,
                     const std::string& comment, int track, int genre)
{
    const auto field = [](std::string s, std::size_t n) {
        s.resize(n, '\0');
        return s;
    };
    std::string tag = "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) +
                      field(year, 4) + field(comment, 30);
    if (track > 0) {
        tag[125] = '\0';
        tag[126] = static_cast<char>(track);
    }
    tag += static_cast<char>(genre);
    return tag;
}

} // namespace clitest
