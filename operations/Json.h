#pragma once
// The JSON texts of the reports: strings that are always valid JSON, and
// file names that are given whole even when they are not UTF-8.
#include <string>
#include <string_view>
#include <vector>

namespace vivizu {

// s as a JSON string, quotes included; bytes that are not UTF-8 become
// U+FFFD, so that the output is always valid JSON.
std::string JsonString(std::string_view s);

// A file name as JSON members: "key": name, and where the name is not UTF-8
// (and so could not be given whole) also "key_hex": its bytes in hex, so
// that a caller can still find the file.
std::string JsonNameMembers(std::string_view key, std::string_view name);
// The same for a list of names: "key": [...], and "key_hex": [...] when any
// of them is not UTF-8.
std::string JsonNameListMembers(std::string_view key, const std::vector<std::string>& names);

} // namespace vivizu
