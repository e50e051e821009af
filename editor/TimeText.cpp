#include "editor/TimeText.h"

#include "engine/TimeText.h"
#include "platform/Locale.h"

#include <algorithm>

namespace vivizu {

QString MsToTimeText(int64_t ms) { return QString::fromStdString(FormatTimeText(ms)); }

QString ShortTimeText(int64_t ms) {
    ms = std::max<int64_t>(0, ms);
    const int64_t hours = ms / 3600000;
    const QString seconds = QStringLiteral("%1.%2")
                                .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
                                .arg(ms % 1000, 3, 10, QLatin1Char('0'));
    if (hours == 0)
        return QString::number(ms / 60000) + QLatin1Char(':') + seconds;
    return QStringLiteral("%1:%2:").arg(hours).arg(ms / 60000 % 60, 2, 10, QLatin1Char('0')) + seconds;
}

QString SpanText(int64_t from, int64_t to) {
    from = std::max<int64_t>(0, from);
    to = std::max(from, to);
    const int64_t span = to - from;
    const int digits = span >= 20000 ? 0 : span >= 2000 ? 1 : 3;
    const int64_t unit = digits == 0 ? 1000 : digits == 1 ? 100 : 1;
    const auto text = [digits, unit](int64_t ms) {
        // Rounded to the shown unit, then the digits past it dropped.
        QString full = ShortTimeText((ms + unit / 2) / unit * unit); // "m:ss.mmm"
        full.chop(digits == 0 ? 4 : 3 - digits);
        return full;
    };
    return text(from) + QStringLiteral("\u2013") + text(to);
}

QString SnapHintText(int64_t from, int64_t to) {
    return ShortTimeText(from) + QStringLiteral(" \u2192 ") + ShortTimeText(to);
}

QString FileSizeText(int64_t bytes, const QString& thousandsSeparator) {
    if (bytes < 1024)
        return QStringLiteral("1 KB");
    // Whole kilobytes, halves rounded up: exact in integer arithmetic.
    const int64_t kilobytes = bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0);
    QString digits = QString::number(kilobytes);
    for (auto i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, thousandsSeparator);
    return digits + QStringLiteral(" KB");
}

QString FileSizeText(int64_t bytes) {
    return FileSizeText(bytes, QString::fromStdString(UserNumberSeparators().Thousands));
}

QString VersionText(double version, const QString& decimalSeparator) {
    QString text = QString::number(version, 'g', 15);
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

QString VersionText(double version) {
    return VersionText(version, QString::fromStdString(UserNumberSeparators().Decimal));
}

} // namespace vivizu
