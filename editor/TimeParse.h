#pragma once
// Reading a typed time text "HHH:MM:SS.mmm" back into milliseconds. The time
// fields report their text with a space in each digit position not yet
// filled; these functions take that text as it comes.
#include <QString>
#include <cstdint>

namespace vivizu {

// Length of a time text in a time field: HHH:MM:SS.mmm.
inline constexpr int TimeTextLength = 13;

// Makes a field's text readable as a time: a tens-of-minutes or
// tens-of-seconds digit of 6 or more becomes 5 (the units digit stays, so
// 75 minutes become 55), and every blank becomes "0". The other characters
// are kept as they are. A text shorter than 13 characters is read as if
// padded with blanks.
QString NormalizeTimeText(const QString& text);

// Reads HHH:MM:SS.mmm (characters 1-3, 5-6, 8-9 and 11-13) as
// ((hours * 3600 + minutes * 60 + seconds) * 1000 + millis), in 64 bits.
// A part that is not made only of the digits 0-9 counts as 0.
// "999:59:59.999" gives 3,599,999,999.
int64_t TimeTextToMs(const QString& text);

} // namespace vivizu
