#include "platform/media/CreateMediaDevice.h"

#include "platform/media/Mp3MediaDevice.h"
#include "platform/media/SdlAudioOutput.h"

namespace vivizu {

std::unique_ptr<TMediaDevice> CreateMediaDevice()
{
    return std::make_unique<TMp3MediaDevice>(std::make_unique<TSdlAudioOutput>());
}

} // namespace vivizu
