#include "Mp3Bytes.h"

#include "engine/frames/MpegHeader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vivizu::test {

Bytes Frame(const Header& header, uint8_t fill)
{
    const TMpegHeader decoded = TMpegHeader::At(header.data());
    Bytes frame(static_cast<size_t>(decoded.FrameLength()), fill);
    std::copy(header.begin(), header.end(), frame.begin());
    return frame;
}

Bytes Frames(const Header& header, int count, uint8_t firstFill)
{
    Bytes all;
    for (int i = 0; i < count; ++i) {
        const Bytes frame = Frame(header, static_cast<uint8_t>(firstFill + i));
        all.insert(all.end(), frame.begin(), frame.end());
    }
    return all;
}

Bytes HeaderFrame(const Header& header, int offset, const char* text)
{
    Bytes frame = Frame(header, 0);
    std::memcpy(frame.data() + offset, text, 4);
    return frame;
}

Bytes Id3v2(int32_t size)
{
    Bytes tag{'I', 'D', '3', 3, 0, 0,
              static_cast<uint8_t>((size >> 21) & 0x7F), static_cast<uint8_t>((size >> 14) & 0x7F),
              static_cast<uint8_t>((size >> 7) & 0x7F), static_cast<uint8_t>(size & 0x7F)};
    tag.resize(10 + static_cast<size_t>(size), 0x41);
    return tag;
}

Bytes Id3v1(const std::string& title, uint8_t comment28, uint8_t comment29, uint8_t genre)
{
    Bytes tag(128, 0);
    std::memcpy(tag.data(), "TAG", 3);
    std::memcpy(tag.data() + 3, title.data(), std::min<size_t>(title.size(), 30));
    std::memcpy(tag.data() + 97, "comment", 7);
    tag[125] = comment28;
    tag[126] = comment29;
    tag[127] = genre;
    return tag;
}

Bytes Id3v1Fields(const std::string& title, const std::string& artist, const std::string& album,
                  const std::string& year, const std::string& comment, int track, int genre)
{
    Bytes tag{'T', 'A', 'G'};
    const auto field = [&tag](const std::string& text, size_t size) {
        const size_t at = tag.size();
        tag.resize(at + size, 0);
        std::memcpy(tag.data() + at, text.data(), std::min(text.size(), size));
    };
    field(title, 30);
    field(artist, 30);
    field(album, 30);
    field(year, 4);
    field(comment, 30);
    if (track > 0) {
        tag[125] = 0;
        tag[126] = static_cast<uint8_t>(track);
    }
    tag.push_back(static_cast<uint8_t>(genre));
    return tag;
}

Bytes ApeFooter()
{
    Bytes footer(32, 0);
    std::memcpy(footer.data(), "APETAGEX", 8);
    footer[8] = 0xD0; // version 2000
    footer[9] = 0x07;
    footer[12] = 32;  // tag size: the footer alone
    return footer;
}

Bytes ApeTag(const std::string& key, const Bytes& value, bool withHeader, int64_t sizeField)
{
    const auto le32 = [](Bytes& to, size_t at, uint32_t v) {
        for (size_t i = 0; i < 4; ++i)
            to[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    // Value size, flags, the key and its terminating zero, the value.
    Bytes item(8 + key.size() + 1 + value.size(), 0);
    le32(item, 0, static_cast<uint32_t>(value.size()));
    std::copy(key.begin(), key.end(), item.begin() + 8);
    std::copy(value.begin(), value.end(), item.begin() + static_cast<std::ptrdiff_t>(9 + key.size()));
    const auto frame = [&](bool isHeader) {
        Bytes f = ApeFooter();
        le32(f, 12, static_cast<uint32_t>(sizeField >= 0 ? sizeField : static_cast<int64_t>(item.size()) + 32));
        le32(f, 16, 1); // one item
        le32(f, 20, (withHeader ? 0x80000000u : 0u) | (isHeader ? 0x20000000u : 0u));
        return f;
    };
    return (withHeader ? frame(true) : Bytes{}) + item + frame(false);
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Slice(const Bytes& b, size_t from, size_t count)
{
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
                 b.begin() + static_cast<std::ptrdiff_t>(from + count));
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vivizu-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    FPath = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

std::string TempDir::Write(const std::string& name, const Bytes& bytes) const
{
    const std::string path = *this / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

std::vector<std::string> TempDir::Names() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FPath))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Bytes ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

} // namespace vivizu::test
