#pragma once
// The texts the main window shows for times, file sizes and MPEG versions.
// Numbers with separators use the user's locale unless one is given.
#include <QString>
#include <cstdint>

namespace vivizu {

// Milliseconds as HHH:MM:SS.mmm: hours and milliseconds with at least three
// digits, minutes and seconds with two; longer hours are written in full
// (3 600 000 000 ms give "1000:00:00.000"). A negative time gets a leading
// "-" before the text of its magnitude.
QString MsToTimeText(int64_t ms);

// A time as short as it reads clearly: "1:02.300" (minutes, seconds,
// milliseconds), from an hour on "1:00:02.300".
QString ShortTimeText(int64_t ms);
// A shown stretch, "0:12–0:48": both ends in whole seconds, in tenths when
// the stretch is shorter than 20 s and in milliseconds below 2 s, so that
// its two ends always read apart.
QString SpanText(int64_t from, int64_t to);
// The move of a snapped marker: "1:02.300 → 1:02.612".
QString SnapHintText(int64_t from, int64_t to);

// A file size in whole kilobytes: "1 KB" below 1 024 bytes (also for an
// empty file), otherwise bytes / 1 024 rounded half away from zero, grouped
// by thousands: 1 048 576 bytes give "1,024 KB" with "," as separator.
QString FileSizeText(int64_t bytes, const QString& thousandsSeparator);
QString FileSizeText(int64_t bytes);

// An MPEG version number in its shortest decimal form: 1 gives "1", 2.5
// gives "2.5" (or "2,5" with "," as decimal separator).
QString VersionText(double version, const QString& decimalSeparator);
QString VersionText(double version);

} // namespace vivizu
