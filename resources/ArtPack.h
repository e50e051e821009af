#pragma once
// The window's pictures as packed at build time (vivizu-art-pack): every PNG
// of resources/png, already in the pixel format a pixmap keeps it in (32-bit
// premultiplied ARGB, or 32-bit RGB for a picture without a transparent
// pixel) and folded into runs (ArtRuns.h). Unpacking
// one takes no decoding, no file and no image plugin, which keeps PNG
// decoding off the window's start.
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vivizu {

struct TPackedPicture {
  std::string_view Name;       // path under resources/png without ".png": "skin@2x", "icon/vivizu-16"
  int Width;
  int Height;
  bool Opaque;                 // no transparent pixel: kept as RGB32, as a pixmap keeps it
  const std::uint32_t* Words;  // the runs
  std::size_t WordCount;
};

// The packed picture of that name, or null.
const TPackedPicture* FindPackedPicture(std::string_view name);

// The picture as an image in the pixmap's own format, so that
// QPixmap::fromImage takes it without a conversion; a null image if its
// runs are damaged.
QImage UnpackPicture(const TPackedPicture& picture);

}  // namespace vivizu
