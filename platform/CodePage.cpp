#include "platform/CodePage.h"

#include "platform/Locale.h"

#include <array>
#include <cerrno>
#include <iconv.h>

namespace vivizu {
namespace {

// Code pages by language (ISO 639 code as in locale names). Every language
// not listed here, and the western languages, use 1252.
struct TLanguageCodePage {
    int CodePage;
    std::string_view Languages; // space-separated
};

constexpr std::array LanguageCodePages{
    TLanguageCodePage{1250, "cs hu pl ro sk sl hr bs sq tk"},                    // Central European
    TLanguageCodePage{1251, "ru uk be bg mk kk ky tt mn sr ba sah tg cv os"},     // Cyrillic
    TLanguageCodePage{1253, "el"},                                                // Greek
    TLanguageCodePage{1254, "tr az uz ku"},                                       // Turkish and Turkic in Latin script
    TLanguageCodePage{1255, "he yi"},                                             // Hebrew
    TLanguageCodePage{1256, "ar fa ur ps ug"},                                    // Arabic script
    TLanguageCodePage{1257, "lt lv et"},                                          // Baltic
    TLanguageCodePage{1258, "vi"},                                                // Vietnamese
    TLanguageCodePage{874, "th"},                                                 // Thai
    TLanguageCodePage{932, "ja"},                                                 // Japanese (Shift JIS)
    TLanguageCodePage{936, "zh"},                                                 // Simplified Chinese (GBK)
    TLanguageCodePage{949, "ko"},                                                 // Korean (Unified Hangul)
};

// Languages written in another script in some territories or with a
// modifier; a row matches the territory ("TW") or the modifier ("@latin").
struct TScriptException {
    std::string_view Language;
    std::string_view Where;
    int CodePage;
};

constexpr std::array ScriptExceptions{
    TScriptException{"sr", "@latin", 1250},    // Serbian in Latin script
    TScriptException{"sr", "ME", 1250},        // Montenegro's locale is Latin
    TScriptException{"az", "@cyrillic", 1251}, // Azerbaijani in Cyrillic script
    TScriptException{"az", "IR", 1256},        // South Azerbaijani, Arabic script
    TScriptException{"uz", "@cyrillic", 1251}, // Uzbek in Cyrillic script
    TScriptException{"pa", "PK", 1256},        // Punjabi in Shahmukhi script
    TScriptException{"zh", "TW", 950},         // Traditional Chinese (Big5)
    TScriptException{"zh", "HK", 950},
    TScriptException{"zh", "MO", 950},
};

bool ListContains(std::string_view list, std::string_view word)
{
    while (!list.empty()) {
        const std::size_t space = list.find(' ');
        if (list.substr(0, space) == word) return true;
        if (space == std::string_view::npos) break;
        list.remove_prefix(space + 1);
    }
    return false;
}

// Owns one iconv conversion descriptor.
class TIconv {
public:
    TIconv(const char* to, const char* from) : FCd(iconv_open(to, from)) {}
    ~TIconv() { if (Ok()) iconv_close(FCd); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    bool Ok() const { return FCd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return FCd; }
    void Reset() { iconv(FCd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t FCd;
};

std::string CharsetName(int codePage)
{
    return "CP" + std::to_string(codePage);
}

constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

// Length of the well-formed UTF-8 sequence at the start of s, or 0.
std::size_t Utf8SequenceLength(std::string_view s)
{
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t len = 0;
    char32_t cp = 0;
    if (b0 < 0x80) return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF) { len = 2; cp = b0 & 0x1F; }
    else if (b0 >= 0xE0 && b0 <= 0xEF) { len = 3; cp = b0 & 0x0F; }
    else if (b0 >= 0xF0 && b0 <= 0xF4) { len = 4; cp = b0 & 0x07; }
    else return 0;
    if (s.size() < len) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are malformed.
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

// Converts one UTF-8 character to codePage; empty when it has no mapping.
std::string EncodeChar(TIconv& cd, std::string_view utf8Char)
{
    char out[16];
    char* in = const_cast<char*>(utf8Char.data());
    std::size_t inLeft = utf8Char.size();
    char* outPtr = out;
    std::size_t outLeft = sizeof out;
    if (iconv(cd.Get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0) {
        cd.Reset();
        return {};
    }
    // Flush whatever a stateful converter still holds for this character.
    iconv(cd.Get(), nullptr, nullptr, &outPtr, &outLeft);
    return std::string(out, static_cast<std::size_t>(outPtr - out));
}

} // namespace

int AnsiCodePageOfLocale(std::string_view name)
{
    // language[_territory][.codeset][@modifier]
    std::string_view modifier;
    if (const auto at = name.find('@'); at != std::string_view::npos) {
        modifier = name.substr(at);
        name = name.substr(0, at);
    }
    if (const auto dot = name.find('.'); dot != std::string_view::npos)
        name = name.substr(0, dot);
    std::string_view territory;
    if (const auto us = name.find('_'); us != std::string_view::npos)
        territory = name.substr(us + 1);
    const std::string language = LocaleLanguage(name);
    if (language.empty()) return DefaultAnsiCodePage;

    for (const auto& e : ScriptExceptions)
        if (e.Language == language && (e.Where == modifier || e.Where == territory))
            return e.CodePage;
    for (const auto& row : LanguageCodePages) {
        if (!ListContains(row.Languages, language)) continue;
        // A Cyrillic-script language written in Latin letters.
        if (row.CodePage == 1251 && modifier == "@latin") return 1250;
        return row.CodePage;
    }
    return DefaultAnsiCodePage;
}

int AnsiCodePage()
{
    return AnsiCodePageOfLocale(EnvLocaleName("LC_CTYPE"));
}

bool IsDoubleByteCodePage(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool IsLeadByte(unsigned char b, int codePage)
{
    switch (codePage) {
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950: return b >= 0x81 && b <= 0xFE;
    default: return false;
    }
}

std::string_view CutToBytes(std::string_view text, std::size_t maxBytes, int codePage)
{
    if (text.size() <= maxBytes) return text;
    std::size_t end = 0;
    while (end < maxBytes) {
        const std::size_t len = IsLeadByte(static_cast<unsigned char>(text[end]), codePage) ? 2 : 1;
        if (end + len > maxBytes) break;
        end += len;
    }
    return text.substr(0, end);
}

std::string AnsiToUtf8(std::string_view ansiText, int codePage)
{
    std::string result;
    TIconv cd("UTF-8", CharsetName(codePage).c_str());
    if (!cd.Ok()) {
        // An unknown code page: keep plain ASCII, mark everything else.
        for (char c : ansiText)
            if (static_cast<unsigned char>(c) < 0x80) result += c;
            else result += Replacement;
        return result;
    }
    char buffer[256];
    char* in = const_cast<char*>(ansiText.data());
    std::size_t inLeft = ansiText.size();
    while (true) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const bool flushing = inLeft == 0;
        const std::size_t rc = flushing ? iconv(cd.Get(), nullptr, nullptr, &out, &outLeft)
                                        : iconv(cd.Get(), &in, &inLeft, &out, &outLeft);
        const int err = errno;
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (rc != static_cast<std::size_t>(-1)) {
            if (flushing) break;
            continue;
        }
        if (err == E2BIG) continue;
        // An undefined byte, or a lead byte with no trail byte: replace
        // one byte and go on after it.
        result += Replacement;
        ++in;
        --inLeft;
        cd.Reset();
    }
    return result;
}

std::string Utf8ToAnsi(std::string_view utf8Text, int codePage, std::size_t maxBytes)
{
    std::string result;
    TIconv cd(CharsetName(codePage).c_str(), "UTF-8");
    while (!utf8Text.empty()) {
        std::size_t len = Utf8SequenceLength(utf8Text);
        std::string encoded;
        if (len == 0) {
            encoded = "?";
            len = 1;
        } else if (len == 1) {
            encoded = utf8Text.substr(0, 1); // ASCII is the same in every code page
        } else {
            if (cd.Ok()) encoded = EncodeChar(cd, utf8Text.substr(0, len));
            if (encoded.empty()) encoded = "?";
        }
        if (encoded.size() > maxBytes - result.size()) break;
        result += encoded;
        utf8Text.remove_prefix(len);
    }
    return result;
}

} // namespace vivizu
