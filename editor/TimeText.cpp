#include "editor/TimeText.h"

#include "platform/Locale.h"

namespace vivizu {

namespace {

QString Padded(int64_t value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace

QString MsToTimeText(int64_t ms) {
    if (ms < 0) {
        // The magnitude of INT64_MIN does not fit; it is never a real time.
        const int64_t magnitude = ms == INT64_MIN ? INT64_MAX : -ms;
        return QLatin1Char('-') + MsToTimeText(magnitude);
    }
    const int64_t hours = ms / 3600000;
    int64_t rest = ms - hours * 3600000;
    const int64_t minutes = rest / 60000;
    rest -= minutes * 60000;
    const int64_t seconds = rest / 1000;
    const int64_t millis = rest % 1000;
    return Padded(hours, 3) + QLatin1Char(':') + Padded(minutes, 2) + QLatin1Char(':') +
           Padded(seconds, 2) + QLatin1Char('.') + Padded(millis, 3);
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
