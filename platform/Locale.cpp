#include "platform/Locale.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <langinfo.h>
#include <locale.h>
#include <utility>

namespace vivizu {

namespace {

struct TLanguageRow {
    const char* Code;      // ISO 639 code as it begins a locale name
    const char* Decimal;   // decimal separator
    const char* Thousands; // thousands separator (UTF-8)
};

constexpr const char* Nbsp = "\xC2\xA0";  // no-break space

constexpr std::array<TLanguageRow, 36> Languages{{
    {"ar", ".", ","},
    {"bg", ",", Nbsp},
    {"ca", ",", "."},
    {"cs", ",", Nbsp},
    {"da", ",", "."},
    {"de", ",", "."},
    {"el", ",", "."},
    {"en", ".", ","},
    {"es", ",", "."},
    {"et", ",", Nbsp},
    {"fi", ",", Nbsp},
    {"fr", ",", Nbsp},
    {"he", ".", ","},
    {"hr", ",", "."},
    {"hu", ",", Nbsp},
    {"id", ",", "."},
    {"it", ",", "."},
    {"ja", ".", ","},
    {"ko", ".", ","},
    {"lt", ",", Nbsp},
    {"lv", ",", Nbsp},
    {"nb", ",", Nbsp},
    {"nl", ",", "."},
    {"nn", ",", Nbsp},
    {"pl", ",", Nbsp},
    {"pt", ",", "."},
    {"ro", ",", "."},
    {"ru", ",", Nbsp},
    {"sk", ",", Nbsp},
    {"sl", ",", "."},
    {"sr", ",", "."},
    {"sv", ",", Nbsp},
    {"th", ".", ","},
    {"tr", ",", "."},
    {"uk", ",", Nbsp},
    {"zh", ".", ","},
}};

// Territories whose numbers differ from their language's usual ones.
struct TTerritoryRow {
    const char* Locale;    // language_TERRITORY
    const char* Decimal;
    const char* Thousands;
};
constexpr std::array<TTerritoryRow, 5> Territories{{
    {"de_CH", ".", "'"},  // Swiss German
    {"it_CH", ".", "'"},  // Swiss Italian
    {"fr_CH", ".", "'"},  // Swiss French
    {"es_MX", ".", ","},  // Mexico
    {"en_ZA", ",", Nbsp}, // South Africa
}};

const TLanguageRow* FindLanguage(std::string_view localeName) {
    const std::string code = LocaleLanguage(localeName);
    for (const auto& row : Languages)
        if (code == row.Code)
            return &row;
    return nullptr;
}

// The value of a shell assignment "NAME=value" (also after "export "), with
// one pair of quotes around the value removed; nothing for other lines.
std::optional<std::string> AssignedValue(std::string_view line, std::string_view name) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    if (line.substr(0, 7) == "export ")
        line.remove_prefix(7);
    if (line.size() <= name.size() || line.substr(0, name.size()) != name ||
        line[name.size()] != '=')
        return std::nullopt;
    std::string_view value = line.substr(name.size() + 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
        value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// The locale a file of assignments names: LC_ALL, else LC_MESSAGES, else
// LANG; empty when it names none.
std::string LocaleNamedIn(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        for (const auto& line : lines)
            if (auto value = AssignedValue(line, name); value && !value->empty())
                return *value;
    return {};
}

} // namespace

bool IsPlainCLocale(std::string_view name) {
    return name.empty() || name == "C" || name == "POSIX" || name.substr(0, 2) == "C.";
}

std::string EnvLocaleName(const char* category) {
    for (const char* name : {"LC_ALL", category, "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return "C";
}

std::string NumericLocaleName() { return EnvLocaleName("LC_NUMERIC"); }

std::vector<std::string> SystemLocaleFiles() { return {"/etc/locale.conf", "/etc/default/locale"}; }

std::string SystemDefaultLocaleName(const std::vector<std::string>& files) {
    for (const auto& file : files) {
        const std::string name = LocaleNamedIn(file);
        if (!name.empty())
            return IsPlainCLocale(name) ? EnvLocaleName("LC_MESSAGES") : name;
    }
    return EnvLocaleName("LC_MESSAGES");
}

std::string LocaleLanguage(std::string_view localeName) {
    const auto end = localeName.find_first_of("_.@");
    std::string code(localeName.substr(0, end));
    for (auto& c : code)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return code;
}

TNumberSeparators TableNumberSeparators(std::string_view localeName) {
    const std::string_view base = localeName.substr(0, localeName.find_first_of(".@"));
    for (const auto& row : Territories)
        if (base == row.Locale)
            return {row.Decimal, row.Thousands};
    if (const auto* row = FindLanguage(localeName))
        return {row->Decimal, row->Thousands};
    return {};
}

TNumberSeparators NumberSeparatorsOf(std::string_view localeName) {
    if (IsPlainCLocale(localeName))
        return {};
    const std::string name(localeName);
    locale_t loc = newlocale(LC_NUMERIC_MASK, name.c_str(), locale_t(0));
    if (!loc)
        return TableNumberSeparators(localeName);
    TNumberSeparators result = TableNumberSeparators(localeName);
    // The installed data only speaks for UTF-8 locales: other character sets
    // would need converting, and the table covers those well enough.
    const std::string codeset = nl_langinfo_l(CODESET, loc);
    if (codeset == "UTF-8") {
        std::string decimal = nl_langinfo_l(RADIXCHAR, loc);
        std::string thousands = nl_langinfo_l(THOUSEP, loc);
        if (!decimal.empty())
            result.Decimal = std::move(decimal);
        if (!thousands.empty())
            result.Thousands = std::move(thousands);
    }
    freelocale(loc);
    return result;
}

TNumberSeparators UserNumberSeparators() { return NumberSeparatorsOf(NumericLocaleName()); }

} // namespace vivizu
