#pragma once
// The file names of a split's pieces: a template with fields filled in per
// piece, made safe for any file system, and the checks that refuse a set of
// names before anything is written.
#include "engine/frames/StreamTime.h"
#include <optional>
#include <string>
#include <vector>

namespace vivizu {

inline constexpr const char* DefaultPieceTemplate = "{name} {n}.mp3";

struct TPieceFields {
    int Number = 1;         // the piece's number, from 1
    int Count = 1;          // how many pieces there are: {n} gets as many digits
    std::string Name;       // the input's base name without its extension
    std::string Title, Artist;
    TStreamTime Start, End;
};

// An error text when the template names a field that does not exist or has
// an unclosed brace.
std::optional<std::string> CheckPieceTemplate(const std::string& pattern);

// The template with {n}, {name}, {title}, {artist}, {start} and {end}
// filled in, every character no file system takes (/, \, :, *, ?, ", <, >,
// |, control characters) replaced by '_'.
std::string PieceName(const std::string& pattern, const TPieceFields& fields);

// A time as MM.SS.mmm (minutes as many digits as they need, at least two).
std::string PieceTime(TStreamTime time);

// The input's base name without its extension ("/a/b.c.mp3" gives "b.c").
std::string BaseName(const std::string& path);

// Why the names cannot be written, or nothing: a name that is empty, "."
// or "..", longer than a name may be, two pieces with the same name, or
// (without force) a file that exists already.
std::optional<std::string> CheckPieceNames(const std::vector<std::string>& names,
                                           const std::string& folder, bool force);

} // namespace vivizu
