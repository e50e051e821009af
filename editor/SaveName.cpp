#include "editor/SaveName.h"

#include <QFileInfo>
#include <algorithm>

namespace vivizu {

QString FileNameTime(int64_t ms) {
    ms = std::max<int64_t>(ms, 0);
    const int64_t hours = ms / 3600000;
    const int64_t minutes = ms / 60000 % 60;
    const int64_t seconds = ms / 1000 % 60;
    const int64_t millis = ms % 1000;
    QString text;
    if (hours > 0)
        text = QStringLiteral("%1h%2m").arg(hours).arg(minutes, 2, 10, QLatin1Char('0'));
    else
        text = QStringLiteral("%1m").arg(minutes);
    text += QStringLiteral("%1").arg(seconds, 2, 10, QLatin1Char('0'));
    if (millis > 0) {
        QString decimals = QStringLiteral("%1").arg(millis, 3, 10, QLatin1Char('0'));
        while (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        text += QLatin1Char('.') + decimals;
    }
    return text + QLatin1Char('s');
}

QString ProposedSaveName(const QString& sourcePath, int64_t startMs, int64_t endMs) {
    QString base = QFileInfo(sourcePath).completeBaseName();
    if (base.isEmpty())
        base = QFileInfo(sourcePath).fileName();
    return QStringLiteral("%1 %2-%3.mp3").arg(base, FileNameTime(startMs), FileNameTime(endMs));
}

} // namespace vivizu
