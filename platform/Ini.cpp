#include "platform/Ini.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

namespace vivizu {

namespace {

bool IsBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u <= 0x20 || u == 0x7F;
}

// "[Name]" gives Name (trimmed); any other line gives nothing.
std::optional<std::string_view> SectionHeader(std::string_view line) {
    line = TrimBlanks(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return TrimBlanks(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    line = TrimBlanks(line);
    return !line.empty() && line.front() == ';';
}

// Splits "Key = Value" at its first "="; nothing for a line without one.
std::optional<TIniEntry> SplitEntry(std::string_view line) {
    if (IsComment(line))
        return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return TIniEntry{std::string(TrimBlanks(line.substr(0, eq))),
                     std::string(TrimBlanks(line.substr(eq + 1)))};
}

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

} // namespace

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<int> ParseInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<int>(value);
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

TIniFile TIniFile::FromText(std::string_view text) {
    TIniFile ini;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    if (text.find("\r\n") != std::string_view::npos)
        ini.FLineEnd = "\r\n";
    while (!text.empty()) {
        auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ini.FLines.emplace_back(line);
        if (nl == std::string_view::npos)
            break;
        text.remove_prefix(nl + 1);
    }
    return ini;
}

TIniFile TIniFile::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return FromText(text.str());
}

std::optional<TIniFile::TRange> TIniFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        auto name = SectionHeader(FLines[i]);
        if (!name || !SameText(*name, TrimBlanks(section)))
            continue;
        std::size_t last = i + 1;
        while (last < FLines.size() && !SectionHeader(FLines[last]))
            ++last;
        return TRange{i, i + 1, last};
    }
    return std::nullopt;
}

std::optional<std::string> TIniFile::ReadString(std::string_view section,
                                                std::string_view key) const {
    auto range = FindSection(section);
    if (!range)
        return std::nullopt;
    for (std::size_t i = range->First; i < range->Last; ++i) {
        auto entry = SplitEntry(FLines[i]);
        if (entry && SameText(entry->Key, TrimBlanks(key)))
            return Unquote(entry->Value);
    }
    return std::nullopt;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
    auto value = ReadString(section, key);
    return value ? *value : std::string(fallback);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    const auto value = ReadString(section, key);
    const auto number = value ? ParseInteger(*value) : std::nullopt;
    return number.value_or(fallback);
}

std::vector<TIniEntry> TIniFile::ReadSection(std::string_view section) const {
    std::vector<TIniEntry> entries;
    auto range = FindSection(section);
    if (!range)
        return entries;
    for (std::size_t i = range->First; i < range->Last; ++i)
        if (auto entry = SplitEntry(FLines[i]))
            entries.push_back(std::move(*entry));
    return entries;
}

std::vector<std::string> TIniFile::SectionNames() const {
    std::vector<std::string> names;
    for (const auto& line : FLines)
        if (auto name = SectionHeader(line))
            names.emplace_back(*name);
    return names;
}

void TIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) {
    const std::string line = std::string(TrimBlanks(key)) + "=" + std::string(value);
    auto range = FindSection(section);
    if (!range) {
        if (!FLines.empty() && !TrimBlanks(FLines.back()).empty())
            FLines.emplace_back();
        FLines.push_back("[" + std::string(TrimBlanks(section)) + "]");
        FLines.push_back(line);
        return;
    }
    std::size_t insertAt = range->First;
    for (std::size_t i = range->First; i < range->Last; ++i) {
        auto entry = SplitEntry(FLines[i]);
        if (entry && SameText(entry->Key, TrimBlanks(key))) {
            FLines[i] = entry->Key + "=" + std::string(value);  // keeps the file's spelling
            return;
        }
        if (!TrimBlanks(FLines[i]).empty())
            insertAt = i + 1;  // after the section's last non-empty line
    }
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

std::string TIniFile::ToText() const {
    std::string text;
    for (const auto& line : FLines)
        text += line + FLineEnd;
    return text;
}

void TIniFile::Save(const std::string& path) const {
    const std::string temp = path + ".tmp";
    auto fail = [&](int error) {
        std::remove(temp.c_str());
        throw std::system_error(error, std::generic_category(),
                                "Cannot write file \"" + path + "\"");
    };
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file)
        fail(errno);
    const std::string text = ToText();
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written)
        fail(written ? errno : writeError);
    if (std::rename(temp.c_str(), path.c_str()) != 0)
        fail(errno);
}

} // namespace vivizu
