#include "cli/Options.h"

#include "engine/TimeText.h"
#include "engine/cut/GainPlan.h"
#include "engine/cut/Normalize.h"
#include "operations/GainRange.h"

#include <climits>
#include <cstdio>


#include <algorithm>
#include <charconv>
#include <cmath>
#include <getopt.h>
#include <iostream>

namespace vivizu {

bool TParsedOptions::Has(int id) const
{
    for (const auto& option : Options)
        if (option.first == id)
            return true;
    return false;
}

std::optional<double> ParseDecimal(const std::string& text)
{
    // from_chars takes a '-' but no '+'; one sign either way is allowed.
    const size_t from = !text.empty() && text[0] == '+' ? 1 : 0;
    if (from == text.size() || (from > 0 && (text[from] == '+' || text[from] == '-')))
        return std::nullopt;
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data() + from, end, value, std::chars_format::fixed);
    if (ec != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::string> ParseOptions(const std::vector<std::string>& args,
                                        std::span<const TOptionDef> defs, TParsedOptions& parsed)
{
    // getopt_long reorders the words it is given: it gets copies.
    std::vector<std::string> words;
    words.reserve(args.size() + 1);
    words.emplace_back("vivizu-cli");
    // An option whose value may be left out takes it joined ("--normalize=-16");
    // a negative number after it ("--normalize -16") can only be its value,
    // never an option or a file, so it is joined to it here.
    for (size_t i = 0; i < args.size(); ++i) {
        const bool optionalValue = std::any_of(defs.begin(), defs.end(), [&](const TOptionDef& def) {
            return def.OptionalValue && args[i] == std::string("--") + def.Name;
        });
        if (optionalValue && i + 1 < args.size() && args[i + 1].size() > 1 && args[i + 1][0] == '-' &&
            ParseDecimal(args[i + 1])) {
            words.push_back(args[i] + "=" + args[i + 1]);
            ++i;
            continue;
        }
        words.push_back(args[i]);
    }
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // ':' first: a missing value is told apart from an unknown option.
    std::string shortOptions = ":";
    std::vector<option> longOptions;
    for (const TOptionDef& def : defs) {
        const int has = def.OptionalValue ? optional_argument : def.HasValue ? required_argument : no_argument;
        longOptions.push_back({def.Name, has, nullptr, def.Id});
        if (def.Short != 0) {
            shortOptions += def.Short;
            if (def.HasValue)
                shortOptions += ':';
        }
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    const int argc = static_cast<int>(argv.size() - 1);
    optind = 0; // start afresh
    opterr = 0; // the messages are ours
    for (;;) {
        const int code = getopt_long(argc, argv.data(), shortOptions.c_str(), longOptions.data(), nullptr);
        if (code == -1)
            break;
        if (code == '?' || code == ':') {
            // getopt_long names a short option by its letter, a long one by
            // its Id or, when unknown, by 0; then the word read names it.
            const bool isLong = optopt == 0 || optopt >= FirstOptionId;
            std::string word = optind > 0 && optind <= argc ? argv[optind - 1] : "";
            word = word.substr(0, word.find('='));
            const std::string shown = isLong ? word : std::string("-") + static_cast<char>(optopt);
            if (code == ':')
                return "option '" + shown + "' needs a value";
            if (isLong && optopt != 0)
                return "option '" + shown + "' takes no value";
            return "unknown option '" + shown + "'";
        }
        int id = code;
        for (const TOptionDef& def : defs)
            if (def.Short != 0 && def.Short == code)
                id = def.Id;
        parsed.Options.emplace_back(id, optarg != nullptr ? optarg : "");
    }
    for (int i = optind; i < argc; ++i)
        parsed.Operands.emplace_back(argv[i]);
    return std::nullopt;
}

std::string BareMillisecondsNote(const std::string& option, const std::string& value)
{
    if (value.empty() || value.size() > 2 || value.find_first_not_of("0123456789") != std::string::npos)
        return {};
    const int ms = std::stoi(value);
    if (ms == 0)
        return {};
    return "note: " + option + " " + value + " is read as " + value + " ms; for " + value + " seconds write " +
           value + ".0";
}

void NoteBareMilliseconds(const std::string& option, const std::string& value)
{
    const std::string note = BareMillisecondsNote(option, value);
    if (!note.empty())
        std::cerr << "vivizu-cli: " << note << '\n';
}

std::optional<std::string> ParseGainOption(const std::string& value, int& steps)
{
    const auto db = ParseDecimal(value);
    if (!db || *db < -MaxGainDb || *db > MaxGainDb) {
        char range[64];
        std::snprintf(range, sizeof range, "from %g to %g", -MaxGainDb, MaxGainDb);
        return "--gain expects decibels " + std::string(range) + ", not '" + value + "'";
    }
    steps = GainStepsForDb(*db);
    return std::nullopt;
}

std::optional<std::string> ParseFadeOption(const std::string& option, const std::string& value, int32_t& ms)
{
    const auto parsed = ParseTimeText(value);
    if (!parsed || *parsed > INT32_MAX) return option + " expects a time, not '" + value + "'";
    ms = static_cast<int32_t>(*parsed);
    NoteBareMilliseconds(option, value);
    return std::nullopt;
}

std::optional<std::string> ParseNormalizeOption(const std::string& value, std::optional<double>& lufs)
{
    const auto target = value.empty() ? std::optional<double>(DefaultTargetLufs) : ParseDecimal(value);
    if (!target || *target < -70 || *target > 0)
        return "--normalize expects a loudness from -70 to 0 LUFS, not '" + value + "'";
    lufs = *target;
    return std::nullopt;
}

} // namespace vivizu
