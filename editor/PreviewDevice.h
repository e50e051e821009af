#pragma once
// The preview device the main window's engine plays through.
#include "engine/MediaDevice.h"

#include <functional>
#include <memory>

namespace vivizu {

// The program's device: the preview module, loaded on the first play; null
// in a build without preview support.
std::unique_ptr<TMediaDevice> MakePreviewDevice();

// Test seam: while set, MakePreviewDevice returns what the maker returns.
using TPreviewDeviceMaker = std::function<std::unique_ptr<TMediaDevice>()>;
void SetPreviewDeviceMaker(TPreviewDeviceMaker maker);

} // namespace vivizu
