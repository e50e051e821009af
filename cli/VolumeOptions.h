#pragma once
// The volume options that cut, split and join share: --gain, --fade-in,
// --fade-out, --normalize[=LUFS], --allow-clipping and, where there are
// joins, --join-fade, with the ids they are reported by, read into the
// cut's choices in one place.
#include "cli/Options.h"
#include "request/CutRequest.h"

#include <optional>
#include <string>

namespace vivizu {

// The volume options' ids: above every command's own and the tag options'.
enum TVolumeOptionId : int {
    VolOptGain = FirstOptionId + 640, VolOptFadeIn, VolOptFadeOut, VolOptNormalize, VolOptAllowClipping,
    VolOptJoinFade,
};
inline constexpr TOptionDef VolumeOptionDefs[] = {
    {"gain", true, VolOptGain},           {"fade-in", true, VolOptFadeIn},
    {"fade-out", true, VolOptFadeOut},    {"normalize", true, VolOptNormalize, 0, true},
    {"allow-clipping", false, VolOptAllowClipping},
};
// cut's (at removed stretches) and join's (between its files); not split's.
inline constexpr TOptionDef JoinFadeOptionDefs[] = {{"join-fade", true, VolOptJoinFade}};

// Reads one option into choices when id is a volume option (any other id is
// left alone); the text of the usage error when its value is not usable.
std::optional<std::string> ReadVolumeOption(int id, const std::string& value, TCutChoices& choices);

} // namespace vivizu
