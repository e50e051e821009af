#include "operations/Json.h"

#include "platform/Utf8.h"

#include <cstdio>

namespace vivizu {

namespace {

std::string Hex(std::string_view s)
{
    std::string hex;
    for (const char c : s) {
        hex += "0123456789abcdef"[static_cast<unsigned char>(c) >> 4];
        hex += "0123456789abcdef"[static_cast<unsigned char>(c) & 15];
    }
    return hex;
}

} // namespace

std::string JsonString(std::string_view s)
{
    std::string out = "\"";
    for (size_t i = 0; i < s.size();) {
        const size_t length = Utf8SequenceLength(s, i);
        const char c = s[i];
        const auto b = static_cast<unsigned char>(c);
        if (length == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", b);
            out += esc;
        } else {
            out.append(s.substr(i, length));
        }
        i += length;
    }
    return out + "\"";
}

std::string JsonNameMembers(std::string_view key, std::string_view name)
{
    std::string members = JsonString(key) + ": " + JsonString(name);
    if (!IsUtf8(name))
        members += ", " + JsonString(std::string(key) + "_hex") + ": \"" + Hex(name) + "\"";
    return members;
}

std::string JsonNameListMembers(std::string_view key, const std::vector<std::string>& names)
{
    std::string list, hex;
    bool foreign = false;
    for (size_t i = 0; i < names.size(); ++i) {
        list += (i ? ", " : "") + JsonString(names[i]);
        hex += (i ? ", \"" : "\"") + Hex(names[i]) + "\"";
        foreign = foreign || !IsUtf8(names[i]);
    }
    std::string members = JsonString(key) + ": [" + list + "]";
    if (foreign)
        members += ", " + JsonString(std::string(key) + "_hex") + ": [" + hex + "]";
    return members;
}

} // namespace vivizu
