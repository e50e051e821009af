#pragma once
// Every file one run writes, checked together before the first byte is
// written: no output may be one of the run's inputs (by any name, also with
// --force), no two outputs may be the same file, and an output that exists
// already is replaced only when the run may replace files.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vivizu {

struct TRunOutput {
    std::string Path;
    size_t Input = 0;  // the index of the input it is made from
    std::string What;  // what it is, for the messages: "piece", "cue sheet", ...
};

struct TRunCheck {
    // Refusals of the whole run: an output that is an input, or one file
    // that two outputs would write. Nothing may be written.
    std::string Refused;
    // Per input: why its outputs cannot be written (one that exists already
    // without force); empty where they can. Only these inputs are declined.
    std::vector<std::string> Declined;
};

// inputs: the run's input files as given; outputs: every file it will write.
TRunCheck CheckRunOutputs(const std::vector<std::string>& inputs, const std::vector<TRunOutput>& outputs, bool force);

// The key under which two spellings of one path compare equal: the
// absolute path with its folder's links resolved and "." and ".." gone.
std::string PathKey(const std::string& path);

} // namespace vivizu
