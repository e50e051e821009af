#pragma once
// The name Save As proposes for a selection: the source's name followed by
// the selection's start and end, so that pieces cut from one recording sort
// together and say where they came from ("talk 1m02s-3m40.5s.mp3").
#include <QString>
#include <cstdint>

namespace vivizu {

// A time for a file name: "1h02m03s", "1m02s", "0m05s", with the
// milliseconds as decimals of the seconds when there are any ("1m02.612s",
// "1m02.5s"). Only digits, letters and the dot: safe on every file system.
QString FileNameTime(int64_t ms);

// sourcePath's base name (its last extension taken off), a space, the two
// times joined by a hyphen, and ".mp3".
QString ProposedSaveName(const QString& sourcePath, int64_t startMs, int64_t endMs);

} // namespace vivizu
