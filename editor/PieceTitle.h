#pragma once
// The title of a piece of a split: the tag page's title (or, when it is
// empty, the source's name) followed by the piece's number, shortened so
// that the number always fits the ID3v1 title's 30 characters.
#include <QString>

namespace vivizu {

inline constexpr int PieceTitleLength = 30;

// "Talk 3"; a title too long for its number loses its end, never the number.
QString NumberedPieceTitle(const QString& title, const QString& sourceName, int number);

} // namespace vivizu
