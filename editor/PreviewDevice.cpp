#include "editor/PreviewDevice.h"

#ifdef VIVIZU_HAVE_MEDIA
#include "platform/LazyMediaDevice.h"
#endif

#include <utility>

namespace vivizu {

namespace {
TPreviewDeviceMaker& Maker() {
    static TPreviewDeviceMaker maker;
    return maker;
}
} // namespace

void SetPreviewDeviceMaker(TPreviewDeviceMaker maker) { Maker() = std::move(maker); }

std::unique_ptr<TMediaDevice> MakePreviewDevice() {
    if (Maker())
        return Maker()();
#ifdef VIVIZU_HAVE_MEDIA
    return LoadMediaDevice();
#else
    return nullptr;
#endif
}

} // namespace vivizu
