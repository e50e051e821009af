#pragma once
// The preview device the program and the command line play through.
#include "engine/MediaDevice.h"

#include <memory>

namespace vivizu {

// Decodes with libmpg123 and plays through SDL2 on the desktop's default
// audio output. The sound system is first touched when a file is opened.
std::unique_ptr<TMediaDevice> CreateMediaDevice();

} // namespace vivizu
