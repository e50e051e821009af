#include "request/PieceNames.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <set>
#include <sys/stat.h>

namespace vivizu {
namespace {

constexpr const char* Fields[] = {"n", "name", "title", "artist", "start", "end"};

bool Unsafe(unsigned char c)
{
    return c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
           c == '<' || c == '>' || c == '|';
}

std::string Padded(int value, int width)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<size_t>(width) - text.size(), '0');
    return text;
}

} // namespace

std::optional<std::string> CheckPieceTemplate(const std::string& pattern)
{
    for (size_t at = pattern.find('{'); at != std::string::npos; at = pattern.find('{', at + 1)) {
        const size_t close = pattern.find('}', at);
        if (close == std::string::npos)
            return "the name template '" + pattern + "' has a '{' without '}'";
        const std::string field = pattern.substr(at + 1, close - at - 1);
        bool known = false;
        for (const char* name : Fields)
            known = known || field == name;
        if (!known)
            return "the name template has an unknown field {" + field +
                   "}; known are {n}, {name}, {title}, {artist}, {start}, {end}";
    }
    return std::nullopt;
}

std::string PieceTime(TStreamTime time)
{
    const int64_t ms = std::max<int64_t>(0, time.WholeMs());
    char text[40];
    std::snprintf(text, sizeof text, "%02lld.%02lld.%03lld", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return text;
}

std::string PieceName(const std::string& pattern, const TPieceFields& fields)
{
    const int width = static_cast<int>(std::to_string(fields.Count).size());
    std::string name;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const size_t close = pattern[i] == '{' ? pattern.find('}', i) : std::string::npos;
        if (close == std::string::npos) {
            name += pattern[i];
            continue;
        }
        const std::string field = pattern.substr(i + 1, close - i - 1);
        if (field == "n") name += Padded(fields.Number, width);
        else if (field == "name") name += fields.Name;
        else if (field == "title") name += fields.Title;
        else if (field == "artist") name += fields.Artist;
        else if (field == "start") name += PieceTime(fields.Start);
        else if (field == "end") name += PieceTime(fields.End);
        else name += pattern.substr(i, close - i + 1);
        i = close;
    }
    for (char& c : name)
        if (Unsafe(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

std::string BaseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = base.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        base.erase(dot);
    return base;
}

std::optional<std::string> CheckPieceNames(const std::vector<std::string>& names, const std::string& folder,
                                           bool force)
{
    std::set<std::string> seen;
    for (const std::string& name : names) {
        if (name.empty() || name == "." || name == "..")
            return "the piece name '" + name + "' is no file name; choose another template";
        if (name.size() > NAME_MAX)
            return "the piece name '" + name + "' is longer than a file name may be";
        if (!seen.insert(name).second)
            return "two pieces would be named '" + name + "'; add {n} to the template";
    }
    if (!force)
        for (const std::string& name : names) {
            struct stat st {};
            const std::string path = folder + "/" + name;
            if (lstat(path.c_str(), &st) == 0)
                return path + ": exists already; --force replaces it";
        }
    return std::nullopt;
}

} // namespace vivizu
