#pragma once
// Times as text: "000:00:00.000" for display, and the forms a user types.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vivizu {

// Hours with at least three digits, two-digit minutes and seconds, three-digit
// milliseconds: 3723004 gives "001:02:03.004". A negative time gets a "-"
// before the text of its magnitude.
std::string FormatTimeText(int64_t ms);

// Reads whole milliseconds ("61500") or a time with seconds and an optional
// fraction, optionally preceded by minutes and hours: "1:02:03.004",
// "2:03.5", "03.004", "1:30". Minutes and seconds after a larger unit must
// be below 60; the fraction has one to three digits. Empty when the text is
// none of these.
std::optional<int64_t> ParseTimeText(std::string_view text);

} // namespace vivizu
