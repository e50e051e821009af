#include "engine/MediaDevice.h"

namespace vivizu {

// The out-of-line destructors anchor the vtables and type information of
// both classes in the engine library.
TMediaError::~TMediaError() = default;

TMediaDevice::~TMediaDevice() = default;

} // namespace vivizu
