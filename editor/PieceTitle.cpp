#include "editor/PieceTitle.h"

namespace vivizu {

QString NumberedPieceTitle(const QString& title, const QString& sourceName, int number) {
    QString base = title.trimmed().isEmpty() ? sourceName : title;
    const QString suffix = QLatin1Char(' ') + QString::number(number);
    const qsizetype room = PieceTitleLength - suffix.size();
    if (base.size() > room) {
        base.truncate(room);
        // Never half of a character outside the basic plane.
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base.trimmed() + suffix;
}

} // namespace vivizu
