#include "cli/cue/CueText.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cstdint>

namespace vivizu {
namespace {

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 (no byte-order mark) to UTF-8; unpaired surrogates become U+FFFD,
// an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    const auto unit = [&](size_t i) {
        const auto a = static_cast<uint8_t>(bytes[i]), b = static_cast<uint8_t>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    };
    std::string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? char32_t{0xFFFD} : u);
    }
    return out;
}

// UTF-16 without a byte-order mark, told by the zero high bytes of its
// ASCII characters: 0 when it does not look like UTF-16, else 1 for
// little-endian and 2 for big-endian.
int BareUtf16(std::string_view bytes)
{
    size_t zeroEven = 0, zeroOdd = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        zeroEven += bytes[i] == '\0';
        zeroOdd += bytes[i + 1] == '\0';
    }
    const size_t units = bytes.size() / 2;
    if (units < 2) return 0;
    if (zeroOdd * 2 > units && zeroEven == 0) return 1;
    if (zeroEven * 2 > units && zeroOdd == 0) return 2;
    return 0;
}

bool IsAsciiLetter(uint8_t b)
{
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}

} // namespace

int CueSheetCodePage(std::string_view bytes, int localeCodePage)
{
    if (IsDoubleByteCodePage(localeCodePage)) return localeCodePage;
    // Count the words with bytes above 0x7F: those with ASCII letters too,
    // and those of two or more such bytes alone.
    int mixed = 0, highOnly = 0;
    bool ascii = false;
    int high = 0;
    const auto endWord = [&] {
        if (high > 0 && ascii) ++mixed;
        else if (high > 1) ++highOnly;
        ascii = false;
        high = 0;
    };
    for (const char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        if (IsAsciiLetter(b)) ascii = true;
        else if (b >= 0x80) ++high;
        else endWord();
    }
    endWord();
    constexpr int latin[] = {1250, 1252, 1254, 1257, 1258};
    constexpr int other[] = {1251, 1253, 1255, 1256, 874};
    const auto has = [&](const auto& pages) {
        return std::find(std::begin(pages), std::end(pages), localeCodePage) != std::end(pages);
    };
    if (highOnly > mixed) return has(other) ? localeCodePage : 1251;
    return has(latin) ? localeCodePage : 1252;
}

std::string CueSheetUtf8(std::string_view bytes, int localeCodePage)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    else if (bytes.starts_with("\xFF\xFE")) return Utf16ToUtf8(bytes.substr(2), false);
    else if (bytes.starts_with("\xFE\xFF")) return Utf16ToUtf8(bytes.substr(2), true);
    else if (const int utf16 = BareUtf16(bytes)) return Utf16ToUtf8(bytes, utf16 == 2);
    if (IsUtf8(bytes)) return std::string(bytes);
    return AnsiToUtf8(bytes, CueSheetCodePage(bytes, localeCodePage));
}

} // namespace vivizu
