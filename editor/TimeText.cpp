#include "editor/TimeText.h"

#include "engine/TimeText.h"
#include "platform/Locale.h"

namespace vivizu {

QString MsToTimeText(int64_t ms) { return QString::fromStdString(FormatTimeText(ms)); }

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
