#include "cli/Options.h"

#include <getopt.h>

namespace vivizu {

bool TParsedOptions::Has(int id) const
{
    for (const auto& option : Options)
        if (option.first == id)
            return true;
    return false;
}

std::optional<std::string> ParseOptions(const std::vector<std::string>& args,
                                        std::span<const TOptionSpec> specs, TParsedOptions& parsed)
{
    // getopt_long reorders the words it is given: it gets copies.
    std::vector<std::string> words;
    words.reserve(args.size() + 1);
    words.emplace_back("vivizu-cli");
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // ':' first: a missing value is told apart from an unknown option.
    std::string shortOptions = ":";
    std::vector<option> longOptions;
    for (const TOptionSpec& spec : specs) {
        longOptions.push_back({spec.Name, spec.HasValue ? required_argument : no_argument, nullptr, spec.Id});
        if (spec.Short != 0) {
            shortOptions += spec.Short;
            if (spec.HasValue)
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
        for (const TOptionSpec& spec : specs)
            if (spec.Short != 0 && spec.Short == code)
                id = spec.Id;
        parsed.Options.emplace_back(id, optarg != nullptr ? optarg : "");
    }
    for (int i = optind; i < argc; ++i)
        parsed.Operands.emplace_back(argv[i]);
    return std::nullopt;
}

} // namespace vivizu
