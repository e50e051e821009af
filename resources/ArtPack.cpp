#include "resources/ArtPack.h"

#include "resources/ArtRuns.h"

#include <algorithm>

namespace vivizu {

// Written by vivizu-art-pack into the build folder, sorted by name.
extern const TPackedPicture kPackedPictures[];
extern const std::size_t kPackedPictureCount;

const TPackedPicture* FindPackedPicture(std::string_view name) {
  const TPackedPicture* end = kPackedPictures + kPackedPictureCount;
  const TPackedPicture* found = std::lower_bound(
      kPackedPictures, end, name,
      [](const TPackedPicture& p, std::string_view n) { return p.Name < n; });
  return found != end && found->Name == name ? found : nullptr;
}

QImage UnpackPicture(const TPackedPicture& picture) {
  QImage image(picture.Width, picture.Height,
               picture.Opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return {};
  // 32-bit lines need no padding, so the pixels lie in one stretch.
  auto* pixels = reinterpret_cast<std::uint32_t*>(image.bits());
  const std::size_t count = static_cast<std::size_t>(picture.Width) * picture.Height;
  if (!UnpackRuns(picture.Words, picture.WordCount, pixels, count)) return {};
  return image;
}

}  // namespace vivizu
