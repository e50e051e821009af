// The entry of libvivizu-media.so, the preview device as a module the
// program loads when it first plays something (platform/LazyMediaDevice).
// Everything else in the module stays internal to it.
#include "platform/LazyMediaDevice.h"
#include "platform/media/CreateMediaDevice.h"

extern "C" __attribute__((visibility("default"))) vivizu::TMediaDevice* VivizuCreateMediaDevice()
{
    // No exception crosses the C entry: a failure is a null device, which
    // the loader reports.
    try {
        return vivizu::CreateMediaDevice().release();
    } catch (...) {
        return nullptr;
    }
}
